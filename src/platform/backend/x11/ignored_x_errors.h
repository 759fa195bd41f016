#pragma once

struct _XDisplay;

namespace tavren::backend::x11 {

// While one of these lives, protocol errors on the display are counted instead
// of reaching Xlib's default handler, which would end the program. Windows of
// other programs may vanish between any two requests, so every walk over them
// runs inside one. Scopes nest; the previous handler is back afterwards.
class IgnoredXErrors {
public:
    explicit IgnoredXErrors(_XDisplay* display);
    ~IgnoredXErrors();
    IgnoredXErrors(const IgnoredXErrors&) = delete;
    IgnoredXErrors& operator=(const IgnoredXErrors&) = delete;

    // Errors so far in this scope, after waiting for the server to answer
    // every request sent until now.
    int errors();

private:
    _XDisplay* display_;
    void (*previousHandler_)(); // Xlib's handler type, kept free of Xlib's headers
    int previousCount_;
};

} // namespace tavren::backend::x11
