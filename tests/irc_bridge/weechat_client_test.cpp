#include "tools/irc_bridge/weechat_client.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace tavren::irc_bridge;
namespace fs = std::filesystem;

namespace {

// A directory of its own for one test, removed with it.
class ScratchDirectory {
public:
    ScratchDirectory() {
        std::string pattern = (fs::temp_directory_path() / "tavren-bridge-XXXXXX").string();
        path_ = ::mkdtemp(pattern.data());
    }
    ~ScratchDirectory() { fs::remove_all(path_); }
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

// The reading end of a FIFO, as a WeeChat holds it.
class FifoReader {
public:
    explicit FifoReader(const fs::path& fifo) : fd_(::open(fifo.c_str(), O_RDONLY | O_NONBLOCK)) {}
    ~FifoReader() { ::close(fd_); }
    std::string read() {
        std::array<char, 65536> buffer{};
        const auto n = ::read(fd_, buffer.data(), buffer.size());
        return n > 0 ? std::string(buffer.data(), static_cast<std::size_t>(n)) : std::string();
    }

private:
    int fd_;
};

class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::string& value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        ::setenv(name, value.c_str(), 1);
    }
    ~ScopedEnv() {
        if (old_)
            ::setenv(name_, old_->c_str(), 1);
        else
            ::unsetenv(name_);
    }

private:
    const char* name_;
    std::optional<std::string> old_;
};

void write(const fs::path& file, const std::string& text) {
    fs::create_directories(file.parent_path());
    std::ofstream(file) << text;
}

constexpr const char* kIrcConf = "#\n# irc.conf -- weechat v3.8\n#\n\n[look]\n"
                                 "buffer_switch_join = on\n\n[server_default]\n"
                                 "addresses = \"\"\n\n[server]\n"
                                 "libera.addresses = \"irc.libera.chat/6697\"\n"
                                 "libera.autojoin = \"#a\"\n"
                                 "my.net.addresses = \"127.0.0.1/6667\"\n"
                                 "my.net.nicks = \"x\"\n";

TEST(WeeChatClientTest, ServerNamesComeFromTheServerSection) {
    EXPECT_EQ(weechatServerNames(kIrcConf), (std::vector<std::string>{"libera", "my.net"}));
    EXPECT_TRUE(weechatServerNames("[look]\nx.addresses = \"a\"\n").empty());
}

TEST(WeeChatClientTest, AFifoNobodyReadsIsNotRunningAndNeverHoldsTheBridge) {
    ScratchDirectory dir;
    const auto fifo = dir.path() / "weechat_fifo_42";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    WeeChatClient client(fifo, dir.path() / "irc.conf");
    EXPECT_FALSE(client.running());
    client.deliver(*parseClientCommand("S,/nick x"), std::nullopt); // returns at once
    EXPECT_FALSE(client.serverNamed("libera"));
}

TEST(WeeChatClientTest, ARunningWeeChatGetsOneLinePerCommandOnTheServerItNames) {
    ScratchDirectory dir;
    const auto fifo = dir.path() / "weechat_fifo_42";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    write(dir.path() / "irc.conf", kIrcConf);
    FifoReader reader(fifo);
    WeeChatClient client(fifo, dir.path() / "irc.conf");
    EXPECT_TRUE(client.running());
    EXPECT_EQ(client.serverNamed("LIBERA"), "libera");
    EXPECT_EQ(client.serverNamed("My.Net"), "my.net");
    EXPECT_FALSE(client.serverNamed("oftc"));
    client.deliver(*parseClientCommand("LIBERA,/nick WS_太郎\r\n"), std::string("libera"));
    client.deliver(*parseClientCommand("Text1,/nick A_x\r\n"), std::nullopt);
    EXPECT_EQ(reader.read(), "irc.server.libera */nick WS_太郎\n*/nick A_x\n");
}

TEST(WeeChatClientTest, OnlyFifosAreWrittenTo) {
    ScratchDirectory dir;
    const auto file = dir.path() / "weechat_fifo_7";
    write(file, "");
    WeeChatClient client(file, dir.path() / "irc.conf");
    EXPECT_FALSE(client.running());
    client.deliver(*parseClientCommand("S,/nick x"), std::nullopt);
    EXPECT_EQ(fs::file_size(file), 0u);
}

TEST(WeeChatClientTest, FifosAreFoundInTheRuntimeAndTheOldDirectoryInTheOrderOfTheirPids) {
    ScratchDirectory dir;
    const ScopedEnv runtime("XDG_RUNTIME_DIR", (dir.path() / "run").string());
    const ScopedEnv config("XDG_CONFIG_HOME", (dir.path() / "config").string());
    const ScopedEnv home("HOME", (dir.path() / "home").string());
    fs::create_directories(dir.path() / "run/weechat");
    fs::create_directories(dir.path() / "home/.weechat");
    for (const auto* fifo : {"run/weechat/weechat_fifo_300", "run/weechat/weechat_fifo_20",
                             "home/.weechat/weechat_fifo_100"})
        ASSERT_EQ(::mkfifo((dir.path() / fifo).c_str(), 0600), 0);
    write(dir.path() / "run/weechat/weechat_fifo_5", ""); // not a FIFO
    write(dir.path() / "run/weechat/other", "");

    const auto found = findWeeChats();
    ASSERT_EQ(found.size(), 3u);
    EXPECT_EQ(found[0].fifo(), dir.path() / "run/weechat/weechat_fifo_20");
    EXPECT_EQ(found[1].fifo(), dir.path() / "home/.weechat/weechat_fifo_100");
    EXPECT_EQ(found[2].fifo(), dir.path() / "run/weechat/weechat_fifo_300");

    // Each with its own WeeChat's irc.conf.
    write(dir.path() / "config/weechat/irc.conf", "[server]\nnew.addresses = \"a\"\n");
    write(dir.path() / "home/.weechat/irc.conf", "[server]\nold.addresses = \"a\"\n");
    FifoReader newReader(found[0].fifo()), oldReader(found[1].fifo());
    auto newer = found[0], older = found[1];
    EXPECT_EQ(newer.serverNamed("new"), "new");
    EXPECT_FALSE(newer.serverNamed("old"));
    EXPECT_EQ(older.serverNamed("old"), "old");
}

} // namespace
