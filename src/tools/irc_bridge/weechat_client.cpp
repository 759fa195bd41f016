#include "weechat_client.h"

#include "text/ascii_case.h"
#include "weechat_line.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tavren::irc_bridge {

namespace fs = std::filesystem;

namespace {

// Closes the descriptor it holds.
class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    FileDescriptor(FileDescriptor&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    FileDescriptor& operator=(FileDescriptor&&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

// Non-blocking, so a WeeChat that is not reading (stopped, or a FIFO left over
// by one that crashed) fails at once instead of holding the bridge.
FileDescriptor openForWriting(const fs::path& fifo) {
    FileDescriptor fd(::open(fifo.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    struct stat status {};
    if (fd.get() >= 0 && (::fstat(fd.get(), &status) != 0 || !S_ISFIFO(status.st_mode)))
        return FileDescriptor(-1); // never write into anything but a FIFO
    return fd;
}

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

fs::path xdgDirectory(const char* variable, const char* fallbackUnderHome) {
    const auto value = environment(variable);
    if (!value.empty()) return value;
    return fs::path(environment("HOME")) / fallbackUnderHome;
}

long fifoPid(const fs::path& fifo) {
    const std::string prefix = "weechat_fifo_";
    return std::strtol(fifo.filename().string().substr(prefix.size()).c_str(), nullptr, 10);
}

void addFifosOf(const fs::path& directory, const fs::path& ircConf,
                std::vector<WeeChatClient>& found) {
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(directory, error)) {
        if (entry.path().filename().string().rfind("weechat_fifo_", 0) != 0) continue;
        if (!entry.is_fifo(error)) continue;
        found.emplace_back(entry.path(), ircConf);
    }
}

} // namespace

WeeChatClient::WeeChatClient(fs::path fifo, fs::path ircConf)
    : fifo_(std::move(fifo)), ircConf_(std::move(ircConf)) {}

bool WeeChatClient::running() {
    return openForWriting(fifo_).get() >= 0;
}

std::optional<std::string> WeeChatClient::serverNamed(const std::string& name) {
    if (!running()) return std::nullopt;
    std::ifstream file(ircConf_);
    std::stringstream text;
    text << file.rdbuf();
    for (const auto& server : weechatServerNames(text.str()))
        if (text::equalsIgnoringAsciiCase(server, name)) return server;
    return std::nullopt;
}

void WeeChatClient::deliver(const ClientCommand& command,
                            const std::optional<std::string>& server) {
    write(weechatFifoLine(command, server));
}

bool WeeChatClient::write(const std::string& line) {
    const auto fd = openForWriting(fifo_);
    if (fd.get() < 0) return false;
    // One write per line: up to PIPE_BUF bytes it never mixes with another
    // writer's line.
    const std::string bytes = line + "\n";
    return ::write(fd.get(), bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
}

std::vector<std::string> weechatServerNames(const std::string& ircConf) {
    std::vector<std::string> names;
    std::istringstream lines(ircConf);
    std::string line, section;
    const std::string option = ".addresses";
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty() && line.front() == '[') {
            section = line;
            continue;
        }
        if (section != "[server]") continue;
        const auto equals = line.find(" = ");
        if (equals == std::string::npos || equals < option.size()) continue;
        const auto key = line.substr(0, equals);
        if (key.compare(key.size() - option.size(), option.size(), option) != 0) continue;
        names.push_back(key.substr(0, key.size() - option.size()));
    }
    return names;
}

std::vector<WeeChatClient> findWeeChats() {
    std::vector<WeeChatClient> found;
    const auto ircConf = xdgDirectory("XDG_CONFIG_HOME", ".config") / "weechat" / "irc.conf";
    const auto runtime = environment("XDG_RUNTIME_DIR");
    addFifosOf(runtime.empty() ? xdgDirectory("XDG_CACHE_HOME", ".cache") / "weechat"
                               : fs::path(runtime) / "weechat",
               ircConf, found);
    if (const auto home = environment("HOME"); !home.empty()) {
        const auto old = fs::path(home) / ".weechat";
        addFifosOf(old, old / "irc.conf", found);
    }
    std::stable_sort(found.begin(), found.end(), [](const auto& a, const auto& b) {
        return fifoPid(a.fifo()) < fifoPid(b.fifo());
    });
    return found;
}

} // namespace tavren::irc_bridge
