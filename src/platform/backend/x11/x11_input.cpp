#include "platform/backend/x11/x11_input.h"

namespace tavren::backend::x11 {

std::unique_ptr<X11Input> openX11Input(const char* displayName, InputMethod* inputMethod) {
    return std::make_unique<X11Input>(displayName, inputMethod);
}

} // namespace tavren::backend::x11
