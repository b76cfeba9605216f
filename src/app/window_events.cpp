// Dispatch of window events to the play field's handlers, the name entry's text box and the unload.
#include "app/window_events.h"

#include "app/startup.h"
#include "input/field_events.h"
#include "scores/name_entry.h"

namespace kesmir {

void DoEvents(Game& game) {
  IWindow* window = game.platform.window;
  if (!window) return;
  WindowEvent event;
  while (!game.app.Ended && window->PollEvent(event)) {
    switch (event.kind) {
      case EventKind::Close: Form_Unload(game); break;
      // While the name box has the focus, keys are the name's alone: none reaches the play field.
      case EventKind::KeyDown:
        YourName_KeyDown(game, event.code);
        if (!game.scores.YourNameFocus) Field_KeyDown(game, event.code);
        break;
      case EventKind::TextInput: YourName_KeyPress(game, static_cast<std::uint32_t>(event.code)); break;
      case EventKind::KeyUp:
        if (!game.scores.YourNameFocus) Field_KeyUp(game, event.code);
        break;
      case EventKind::MouseDown: {
        const Point onField{event.position.x - game.app.FieldOrigin.x, event.position.y - game.app.FieldOrigin.y};
        if (Rect{0, 0, kFieldSize, kFieldSize}.Contains(onField)) Field_MouseDown(game, event.code);
        break;
      }
      // A release ends the press wherever the pointer is, as a captured mouse does.
      case EventKind::MouseUp: Field_MouseUp(game, event.code); break;
      case EventKind::FocusLost: game.input.FocusLost = true; break;  // the next keyboard poll decides
    }
  }
}

void RefreshScreen(Game& game) {
  if (!game.platform.window) return;
  game.platform.window->Present(game.surfaces.Field.View(), game.app.FieldOrigin, game.surfaces.StatusField.View(),
                                game.app.StatusOrigin);
}

}  // namespace kesmir
