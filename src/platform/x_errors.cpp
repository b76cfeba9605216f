// Reporting the X server's refusals through Xlib's error handler, in the Xlib that SDL uses.
#include "platform/x_errors.h"

#include <X11/Xlib.h>
#include <dlfcn.h>

#include <atomic>
#include <cstdio>

namespace kesmir {

namespace {

constexpr const char* kXlib = "libX11.so.6";
constexpr int kMostReports = 5;

using SetErrorHandler = XErrorHandler (*)(XErrorHandler);
using GetErrorText = int (*)(Display*, int, char*, int);

// Xlib calls its error handler without any context of the caller's, so the count that bounds the report is
// kept where the handler finds it: the one static state of the report.
std::atomic<int> reportedErrors{0};

int ReportError(Display* display, XErrorEvent* error) {
  const int number = ++reportedErrors;
  if (number > kMostReports) return 0;
  char text[160] = "unknown error";
  // Xlib is loaded while its handler runs; opening it again only takes another reference.
  if (void* xlib = dlopen(kXlib, RTLD_LAZY | RTLD_NOLOAD)) {
    if (auto getText = reinterpret_cast<GetErrorText>(dlsym(xlib, "XGetErrorText"))) {
      getText(display, error->error_code, text, static_cast<int>(sizeof text));
    }
    dlclose(xlib);
  }
  std::fprintf(stderr, "kesmir: the X server refused a request (%s, request %d.%d); the game goes on%s\n", text,
               error->request_code, error->minor_code,
               number == kMostReports ? "; further refusals are not reported" : "");
  return 0;
}

}  // namespace

void ReportXErrors() {
  // Xlib stays loaded for the run, so the handler set in it is the one SDL's X11 driver meets.
  void* xlib = dlopen(kXlib, RTLD_LAZY);
  if (!xlib) return;
  if (auto set = reinterpret_cast<SetErrorHandler>(dlsym(xlib, "XSetErrorHandler"))) set(ReportError);
}

}  // namespace kesmir
