// The whole program state: one plain struct per owning subsystem, and the platform parts it uses.
#pragma once

#include "app/app_state.h"
#include "app/clock_state.h"
#include "app/settings.h"
#include "audio/audio_state.h"
#include "core/random.h"
#include "game/play_state.h"
#include "input/input_state.h"
#include "menus/menu_state.h"
#include "network/net_state.h"
#include "platform/ports.h"
#include "render/effects_state.h"
#include "render/surfaces.h"
#include "scores/score_lists.h"

namespace kesmir {

struct Game {
  Platform platform;
  Random random;
  Settings settings;
  AppState app;
  ClockState clock;
  InputState input;
  PlayState play;
  EffectsState effects;
  Surfaces surfaces;
  ScoreLists scores;
  AudioState audio;
  MenuState menus;
  NetState net;

  // Re-seeds the random generator from the clock (ignored in deterministic mode).
  void Randomize() { random.Randomize(platform.clock ? platform.clock->Micros() : 0); }
  double Rnd() { return random.Rnd(); }
};

}  // namespace kesmir
