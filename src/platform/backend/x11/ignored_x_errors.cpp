#include "ignored_x_errors.h"

#include <X11/Xlib.h>

namespace tavren::backend::x11 {

namespace {

// Xlib hands errors to one process-wide C callback without a context pointer,
// so the count can live nowhere else. Only the user-interface thread talks X.
int errorCount = 0;

int countError(Display*, XErrorEvent*) {
    ++errorCount;
    return 0;
}

using Handler = int (*)(Display*, XErrorEvent*);

} // namespace

IgnoredXErrors::IgnoredXErrors(_XDisplay* display) : display_(display) {
    // Errors of requests sent before this scope belong to whoever sent them.
    XSync(display_, False);
    previousHandler_ = reinterpret_cast<void (*)()>(XSetErrorHandler(countError));
    previousCount_ = errorCount;
    errorCount = 0;
}

IgnoredXErrors::~IgnoredXErrors() {
    XSync(display_, False);
    XSetErrorHandler(reinterpret_cast<Handler>(previousHandler_));
    errorCount += previousCount_;
}

int IgnoredXErrors::errors() {
    XSync(display_, False);
    return errorCount;
}

} // namespace tavren::backend::x11
