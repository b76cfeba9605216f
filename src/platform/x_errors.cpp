// Reporting the X server's refusals through Xlib's error handler, reached through the Xlib SDL has loaded.
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

XErrorReport::XErrorReport() {
  library_ = dlopen(kXlib, RTLD_LAZY | RTLD_NOLOAD);
  if (!library_) return;
  auto set = reinterpret_cast<SetErrorHandler>(dlsym(library_, "XSetErrorHandler"));
  if (!set) {
    dlclose(library_);
    library_ = nullptr;
    return;
  }
  previous_ = reinterpret_cast<void*>(set(ReportError));
}

XErrorReport::~XErrorReport() {
  if (!library_) return;
  if (auto set = reinterpret_cast<SetErrorHandler>(dlsym(library_, "XSetErrorHandler"))) {
    set(reinterpret_cast<XErrorHandler>(previous_));
  }
  dlclose(library_);
}

}  // namespace kesmir
