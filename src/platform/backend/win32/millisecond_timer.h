#pragma once

#include <windows.h>

#include <timeapi.h>

namespace tavren::backend::win32 {

// The system's timer resolution at a millisecond for as long as this lives:
// Sleep(1) and the other waits otherwise last a whole tick of about 15.6 ms.
// Since Windows 10 2004 the request holds for this process alone.
class MillisecondTimer {
public:
    MillisecondTimer() : set_(::timeBeginPeriod(1) == TIMERR_NOERROR) {}
    ~MillisecondTimer() {
        if (set_) ::timeEndPeriod(1);
    }
    MillisecondTimer(const MillisecondTimer&) = delete;
    MillisecondTimer& operator=(const MillisecondTimer&) = delete;

private:
    bool set_;
};

} // namespace tavren::backend::win32
