// The X server's refusals reported on standard error, instead of ending the program as Xlib's default does.
#pragma once

namespace kesmir {

// While one exists, a request the X server refuses is reported in one line (the first few of them) and the
// program goes on. It acts only where SDL's X11 driver has loaded Xlib; it puts the previous handler back.
class XErrorReport {
 public:
  XErrorReport();
  ~XErrorReport();
  XErrorReport(const XErrorReport&) = delete;
  XErrorReport& operator=(const XErrorReport&) = delete;

 private:
  void* library_ = nullptr;   // Xlib, held while the handler is in place
  void* previous_ = nullptr;  // the handler that was in place, as an Xlib XErrorHandler
};

}  // namespace kesmir
