#include "link_monitor_process.h"

#include "target_process.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

namespace tavren::backend::win32::testing {

namespace {

std::wstring tempPath(const wchar_t* what) {
    static int counter = 0;
    wchar_t dir[MAX_PATH];
    GetTempPathW(MAX_PATH, dir);
    return std::wstring(dir) + L"tavren-monitor-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
           std::to_wstring(++counter) + what;
}

std::string contentsOf(const std::wstring& path) {
    std::ifstream in(path.c_str(), std::ios::binary);
    std::stringstream all;
    all << in.rdbuf();
    return all.str();
}

HANDLE inheritableFile(const std::wstring& path) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    return CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                       CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
}

} // namespace

LinkMonitorProcess::LinkMonitorProcess(const std::wstring& arguments)
    : outPath_(tempPath(L".out")), errPath_(tempPath(L".err")) {
    std::wstring command =
        L"\"" + besideThisProgram(L"tavren-link-monitor.exe") + L"\" " + arguments;
    const HANDLE out = inheritableFile(outPath_);
    const HANDLE err = inheritableFile(errPath_);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = out;
    startup.hStdError = err;
    const BOOL started = CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE,
                                        CREATE_NO_WINDOW, nullptr, nullptr, &startup, &process_);
    CloseHandle(out);
    CloseHandle(err);
    if (!started) throw std::runtime_error("cannot start tavren-link-monitor.exe");
    if (!waitFor([&] { return contentsOf(errPath_).find("ready") != std::string::npos; }))
        throw std::runtime_error("tavren-link-monitor.exe did not start serving");
}

LinkMonitorProcess::~LinkMonitorProcess() {
    TerminateProcess(process_.hProcess, 0);
    WaitForSingleObject(process_.hProcess, 10000);
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
    DeleteFileW(outPath_.c_str());
    DeleteFileW(errPath_.c_str());
}

std::string LinkMonitorProcess::output() const {
    return contentsOf(outPath_);
}

int LinkMonitorProcess::ended() const {
    const std::string said = contentsOf(errPath_);
    int count = 0;
    for (auto at = said.find("conversation ended"); at != std::string::npos;
         at = said.find("conversation ended", at + 1))
        ++count;
    return count;
}

std::vector<std::string> LinkMonitorProcess::commands() const {
    const std::string text = output();
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end = text.find('\n'); end != std::string::npos;
         end = text.find('\n', start)) {
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

} // namespace tavren::backend::win32::testing
