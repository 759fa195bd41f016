#pragma once

#include <optional>
#include <string>
#include <vector>

struct _XDisplay;

namespace tavren::backend::x11 {

// Reading and writing window properties of the shapes the window manager
// protocols use. A missing property, a window that is gone or a property of
// another type all read as nothing.
class WindowProperties {
public:
    explicit WindowProperties(_XDisplay* display) : display_(display) {}

    // A 32-bit list (windows, atoms, cardinals) of the given type.
    std::optional<std::vector<unsigned long>> readList(unsigned long window, unsigned long property,
                                                       unsigned long type) const;
    // An 8-bit string of the given type.
    std::optional<std::string> readBytes(unsigned long window, unsigned long property,
                                         unsigned long type) const;
    // Replaces a 32-bit list; an empty list deletes the property.
    void writeList(unsigned long window, unsigned long property, unsigned long type,
                   const std::vector<unsigned long>& values) const;

    // The window's title in UTF-8: _NET_WM_NAME when it has one, WM_NAME in
    // whatever encoding it was set otherwise; empty when it has neither.
    std::string title(unsigned long window) const;

    unsigned long atom(const char* name) const;

private:
    _XDisplay* display_;
};

} // namespace tavren::backend::x11
