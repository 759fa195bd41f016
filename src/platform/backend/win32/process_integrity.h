#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>

namespace tavren::backend::win32 {

// The mandatory integrity levels of processes (SECURITY_MANDATORY_*_RID): a
// program run as administrator is high, one run normally medium. Windows keeps
// a process's synthesised input, its thread attachments and its messages from
// the windows of a process above it (User Interface Privilege Isolation).
class ProcessIntegrity {
public:
    virtual ~ProcessIntegrity() = default;
    // Nothing when the level cannot be read (the process is gone, or protected).
    virtual std::optional<std::uint32_t> levelOf(DWORD processId) = 0;
    virtual std::optional<std::uint32_t> ownLevel() = 0;
};

// ProcessIntegrity on the real system, through the processes' tokens.
class SystemProcessIntegrity final : public ProcessIntegrity {
public:
    std::optional<std::uint32_t> levelOf(DWORD processId) override;
    std::optional<std::uint32_t> ownLevel() override;
};

// Whether Windows keeps our keys from the window's process: it runs at a
// higher level than we do. A level that cannot be read decides nothing.
bool keysBlockedByIntegrity(ProcessIntegrity& integrity, HWND window);

} // namespace tavren::backend::win32
