#include "desktop_helpers.h"

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <string>
#include <thread>

#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#ifndef TAVREN_WINDOW_TARGET
#error "TAVREN_WINDOW_TARGET must name the target window program"
#endif

namespace tavren::backend::x11::testing {

namespace {

constexpr auto kDeadline = std::chrono::seconds(20);

void endProcess(pid_t pid) {
    if (pid <= 0) return;
    kill(pid, SIGTERM);
    int status = 0;
    waitpid(pid, &status, 0);
}

} // namespace

bool waitFor(const std::function<bool()>& condition) {
    const auto deadline = std::chrono::steady_clock::now() + kDeadline;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

SpawnedWindow::SpawnedWindow(std::vector<std::string> arguments, const std::string& display) {
    int toChild[2], fromChild[2];
    if (pipe(toChild) != 0) return;
    if (pipe(fromChild) != 0) {
        close(toChild[0]);
        close(toChild[1]);
        return;
    }
    arguments.insert(arguments.begin(), TAVREN_WINDOW_TARGET);
    std::vector<char*> argv;
    for (auto& a : arguments)
        argv.push_back(a.data());
    argv.push_back(nullptr);

    pid_ = fork();
    if (pid_ == 0) {
        dup2(toChild[0], STDIN_FILENO);
        dup2(fromChild[1], STDOUT_FILENO);
        close(toChild[1]);
        close(fromChild[0]);
        if (!display.empty()) setenv("DISPLAY", display.c_str(), 1);
        execv(argv[0], argv.data());
        _exit(127);
    }
    close(toChild[0]);
    close(fromChild[1]);
    input_ = toChild[1];
    fcntl(input_, F_SETFD, FD_CLOEXEC);
    std::string line;
    char c = 0;
    while (read(fromChild[0], &c, 1) == 1 && c != '\n')
        line.push_back(c);
    close(fromChild[0]);
    id_ = line.empty() ? 0 : std::strtoul(line.c_str(), nullptr, 10);
}

SpawnedWindow::~SpawnedWindow() {
    end();
}

void SpawnedWindow::end() {
    if (input_ >= 0) close(input_);
    input_ = -1;
    endProcess(pid_);
    pid_ = -1;
}

BareXServer::BareXServer() {
    int number[2];
    if (pipe(number) != 0) return;
    pid_ = fork();
    if (pid_ == 0) {
        // Never outlive the test, even one that crashes.
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, STDOUT_FILENO);
        dup2(null, STDERR_FILENO);
        close(number[0]);
        const std::string fd = std::to_string(number[1]);
        // -displayfd: the server takes a free display number and reports it once
        // it accepts connections. -noreset: it would otherwise restart whenever
        // its last client leaves, refusing connections meanwhile.
        execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "800x600x24", "-nolisten",
               "tcp", "-noreset", static_cast<char*>(nullptr));
        _exit(127);
    }
    close(number[1]);
    std::string digits;
    char c = 0;
    while (read(number[0], &c, 1) == 1 && c != '\n')
        digits.push_back(c);
    close(number[0]);
    if (!digits.empty()) display_ = ":" + digits;
}

BareXServer::~BareXServer() {
    endProcess(pid_);
}

} // namespace tavren::backend::x11::testing
