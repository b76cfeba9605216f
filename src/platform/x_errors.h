// The X server's refusals reported on standard error, instead of ending the program as Xlib's default does.
#pragma once

namespace kesmir {

// From now on, a request the X server refuses is reported in one line (the first few of them) and the
// program goes on. Called before SDL starts its video: SDL's X11 driver calls the handler it found for what it
// does not handle itself, and puts it back before it closes the display, which is when the refusals of the
// window's last requests arrive. Without Xlib on the machine it does nothing.
void ReportXErrors();

}  // namespace kesmir
