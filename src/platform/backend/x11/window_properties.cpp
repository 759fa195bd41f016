#include "window_properties.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace tavren::backend::x11 {

namespace {

// Titles and client lists are far below this; it only bounds a hostile peer.
constexpr long kMaxPropertyLongs = 1 << 16;

struct PropertyData {
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned char* data = nullptr;
    ~PropertyData() {
        if (data) XFree(data);
    }
};

bool readProperty(Display* display, Window window, Atom property, Atom type, PropertyData& out) {
    unsigned long remaining = 0;
    const int status =
        XGetWindowProperty(display, window, property, 0, kMaxPropertyLongs, False, type, &out.type,
                           &out.format, &out.count, &remaining, &out.data);
    return status == Success && out.data && out.type == type;
}

} // namespace

std::optional<std::vector<unsigned long>>
WindowProperties::readList(unsigned long window, unsigned long property, unsigned long type) const {
    PropertyData p;
    if (!readProperty(display_, window, property, type, p) || p.format != 32) return std::nullopt;
    // Xlib hands 32-bit items over as longs, whatever the size of long.
    const auto* items = reinterpret_cast<const unsigned long*>(p.data);
    return std::vector<unsigned long>(items, items + p.count);
}

std::optional<std::string> WindowProperties::readBytes(unsigned long window, unsigned long property,
                                                       unsigned long type) const {
    PropertyData p;
    if (!readProperty(display_, window, property, type, p) || p.format != 8) return std::nullopt;
    return std::string(reinterpret_cast<const char*>(p.data), p.count);
}

void WindowProperties::writeList(unsigned long window, unsigned long property, unsigned long type,
                                 const std::vector<unsigned long>& values) const {
    if (values.empty()) {
        XDeleteProperty(display_, window, property);
        return;
    }
    XChangeProperty(display_, window, property, type, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(values.data()),
                    static_cast<int>(values.size()));
}

std::string WindowProperties::title(unsigned long window) const {
    if (auto name = readBytes(window, atom("_NET_WM_NAME"), atom("UTF8_STRING"));
        name && !name->empty())
        return *name;

    XTextProperty text{};
    if (!XGetWMName(display_, window, &text) || !text.value) return {};
    std::string title;
    char** list = nullptr;
    int count = 0;
    // COMPOUND_TEXT, STRING (Latin-1) and UTF8_STRING all come out as UTF-8.
    if (Xutf8TextPropertyToTextList(display_, &text, &list, &count) >= Success && list) {
        for (int i = 0; i < count; ++i)
            title += list[i];
        XFreeStringList(list);
    }
    XFree(text.value);
    return title;
}

unsigned long WindowProperties::atom(const char* name) const {
    return XInternAtom(display_, name, False);
}

} // namespace tavren::backend::x11
