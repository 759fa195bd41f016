#include "platform/view/win32/win32_screens.h"

#include <windows.h>

namespace tavren::view::win32 {
namespace {

constexpr double kTwipsPerInch = 1440;

BOOL CALLBACK collectWorkArea(HMONITOR monitor, HDC, LPRECT, LPARAM areas) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (::GetMonitorInfoW(monitor, &info))
        reinterpret_cast<std::vector<RECT>*>(areas)->push_back(info.rcWork);
    return TRUE;
}

} // namespace

Win32Screens::Win32Screens(int dotsPerInch) : dotsPerInch_(dotsPerInch > 0 ? dotsPerInch : 96) {}

std::vector<controls::Rect> Win32Screens::availableGeometries() {
    std::vector<RECT> areas;
    ::EnumDisplayMonitors(nullptr, nullptr, collectWorkArea, reinterpret_cast<LPARAM>(&areas));
    const auto twips = [this](long pixels) {
        return static_cast<double>(pixels) * kTwipsPerInch / dotsPerInch_;
    };
    std::vector<controls::Rect> result;
    for (const RECT& area : areas)
        result.push_back({twips(area.left), twips(area.top), twips(area.right - area.left),
                          twips(area.bottom - area.top)});
    return result;
}

} // namespace tavren::view::win32
