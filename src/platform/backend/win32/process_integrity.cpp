#include "process_integrity.h"

#include "unique_handle.h"

#include <vector>

namespace tavren::backend::win32 {

namespace {

std::optional<std::uint32_t> levelOfToken(HANDLE token) {
    DWORD size = 0;
    ::GetTokenInformation(token, TokenIntegrityLevel, nullptr, 0, &size);
    if (size == 0) return std::nullopt;
    std::vector<BYTE> buffer(size);
    if (!::GetTokenInformation(token, TokenIntegrityLevel, buffer.data(), size, &size))
        return std::nullopt;
    const auto* label = reinterpret_cast<const TOKEN_MANDATORY_LABEL*>(buffer.data());
    const PUCHAR count = ::GetSidSubAuthorityCount(label->Label.Sid);
    if (count == nullptr || *count == 0) return std::nullopt;
    return *::GetSidSubAuthority(label->Label.Sid, *count - 1);
}

std::optional<std::uint32_t> levelOfProcess(HANDLE process) {
    HANDLE token = nullptr;
    if (!::OpenProcessToken(process, TOKEN_QUERY, &token)) return std::nullopt;
    const UniqueHandle owned(token);
    return levelOfToken(token);
}

} // namespace

std::optional<std::uint32_t> SystemProcessIntegrity::levelOf(DWORD processId) {
    // The limited right is granted across levels, where a full query is not.
    const UniqueHandle process(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    if (!process.valid()) return std::nullopt;
    return levelOfProcess(process.get());
}

std::optional<std::uint32_t> SystemProcessIntegrity::ownLevel() {
    return levelOfProcess(::GetCurrentProcess());
}

bool keysBlockedByIntegrity(ProcessIntegrity& integrity, HWND window) {
    DWORD processId = 0;
    ::GetWindowThreadProcessId(window, &processId);
    if (processId == 0) return false;
    const auto theirs = integrity.levelOf(processId);
    const auto ours = integrity.ownLevel();
    return theirs && ours && *theirs > *ours;
}

} // namespace tavren::backend::win32
