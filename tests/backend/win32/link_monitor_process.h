#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace tavren::backend::win32::testing {

// tavren-link-monitor.exe serving the conversation in its own process, its
// output caught in files; ended when this goes away.
class LinkMonitorProcess {
public:
    explicit LinkMonitorProcess(const std::wstring& arguments = L"");
    ~LinkMonitorProcess();
    LinkMonitorProcess(const LinkMonitorProcess&) = delete;
    LinkMonitorProcess& operator=(const LinkMonitorProcess&) = delete;

    // The commands printed so far, as bytes, each without its newline.
    std::vector<std::string> commands() const;
    // Everything printed so far.
    std::string output() const;
    // How many conversations a client has ended so far.
    int ended() const;

private:
    std::wstring outPath_;
    std::wstring errPath_;
    PROCESS_INFORMATION process_{};
};

} // namespace tavren::backend::win32::testing
