#include "target_process.h"

#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

namespace tavren::backend::win32::testing {

namespace {

std::wstring quoted(const std::wstring& argument) {
    std::wstring out = L"\"";
    for (wchar_t c : argument) {
        if (c == L'"') out += L'\\';
        out += c;
    }
    return out + L"\"";
}

std::wstring freshLogPath() {
    static int counter = 0;
    wchar_t dir[MAX_PATH];
    GetTempPathW(MAX_PATH, dir);
    return std::wstring(dir) + L"tavren-target-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
           std::to_wstring(++counter) + L".log";
}

void appendUtf8(std::string& out, unsigned code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

} // namespace

std::wstring besideThisProgram(const std::wstring& name) {
    wchar_t path[MAX_PATH];
    const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring self(path, n);
    return self.substr(0, self.find_last_of(L"\\/") + 1) + name;
}

bool waitFor(const std::function<bool()>& done, std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    for (;;) {
        if (done()) return true;
        if (std::chrono::steady_clock::now() >= end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

bool dispatchUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
    return waitFor(
        [&] {
            MSG msg;
            while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
                ::TranslateMessage(&msg);
                ::DispatchMessageW(&msg);
            }
            return done();
        },
        limit);
}

TargetProcess::TargetProcess(const std::vector<std::wstring>& windows) : logPath_(freshLogPath()) {
    std::wstring command =
        quoted(besideThisProgram(L"win32_test_target.exe")) + L" " + quoted(logPath_);
    for (const auto& w : windows)
        command += L" " + quoted(w);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process_))
        throw std::runtime_error("cannot start win32_test_target.exe");
    const bool ready = waitFor([&] {
        std::size_t count = 0;
        for (const auto& line : log())
            if (line.rfind("window ", 0) == 0) ++count;
        return count == windows.size();
    });
    if (!ready) throw std::runtime_error("win32_test_target.exe did not open its windows");
    for (const auto& line : log()) {
        if (line.rfind("window ", 0) != 0) continue;
        const auto value = std::stoll(line.substr(7, line.find(' ', 7) - 7));
        windows_.push_back(reinterpret_cast<HWND>(static_cast<INT_PTR>(value)));
    }
}

TargetProcess::~TargetProcess() {
    TerminateProcess(process_.hProcess, 0);
    WaitForSingleObject(process_.hProcess, 10000);
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
    DeleteFileW(logPath_.c_str());
}

void TargetProcess::freeze() {
    if (SuspendThread(process_.hThread) == static_cast<DWORD>(-1))
        throw std::runtime_error("win32_test_target.exe could not be stopped");
}

void TargetProcess::thaw() {
    ResumeThread(process_.hThread);
}

ThawLater::ThawLater(TargetProcess& target, std::chrono::milliseconds delay)
    : target_(target), thread_([this, delay] {
          std::unique_lock lock(mutex_);
          asked_.wait_for(lock, delay, [this] { return now_; });
          // Set first: whatever the program's waking lets go on comes after.
          thawed_ = true;
          target_.thaw();
      }) {}

ThawLater::~ThawLater() {
    now();
    thread_.join();
}

void ThawLater::now() {
    {
        const std::lock_guard lock(mutex_);
        now_ = true;
    }
    asked_.notify_one();
}

std::vector<std::string> TargetProcess::log() const {
    std::ifstream in(logPath_.c_str(), std::ios::binary);
    std::stringstream whole;
    whole << in.rdbuf();
    const std::string text = whole.str();
    // Only whole lines: the last one may still be being written.
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end = text.find('\n'); end != std::string::npos;
         end = text.find('\n', start)) {
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

std::string TargetProcess::typedText() const {
    std::string text;
    for (const auto& line : log())
        if (line.rfind("char ", 0) == 0) appendUtf8(text, std::stoul(line.substr(5), nullptr, 16));
    return text;
}

std::vector<std::string> TargetProcess::keysDown() const {
    std::vector<std::string> keys;
    for (const auto& line : log())
        if (line.rfind("down ", 0) == 0) keys.push_back(line.substr(5));
    return keys;
}

} // namespace tavren::backend::win32::testing
