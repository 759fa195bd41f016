#pragma once

namespace tavren::controls {

// Mouse buttons and shift states as the handlers receive them.
enum MouseButton : int { kLeftButton = 1, kRightButton = 2, kMiddleButton = 4 };
enum ShiftState : int { kNoShift = 0, kShiftKey = 1, kCtrlKey = 2, kAltKey = 4 };

struct MouseEvent {
    int button = kLeftButton;
    int shift = kNoShift;
    double x = 0;
    double y = 0;
};

} // namespace tavren::controls
