#pragma once

#include "foreground_chain.h"

namespace tavren::backend::win32 {

// ForegroundCalls on the real system.
class SystemForegroundCalls : public ForegroundCalls {
public:
    services::WindowHandle foreground() override;
    bool setForeground(services::WindowHandle window) override;
    bool exists(services::WindowHandle window) override;
    bool isMinimised(services::WindowHandle window) override;
    void restore(services::WindowHandle window) override;
    bool isHung(services::WindowHandle window) override;
    std::uint32_t threadOf(services::WindowHandle window) override;
    std::uint32_t currentThread() override;
    bool attachInput(std::uint32_t ours, std::uint32_t theirs, bool attach) override;
    void sendEmptyInput() override;
    std::chrono::microseconds pause() override;
};

} // namespace tavren::backend::win32
