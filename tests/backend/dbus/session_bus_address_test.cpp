#include "platform/backend/dbus/session_bus_address.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

using tavren::backend::dbus::sessionBusAddress;

namespace {

// Sets an environment variable for one scope, then puts the old value back: the
// other tests of this program need the real bus address.
class ScopedEnv {
public:
    ScopedEnv(const char* name, std::optional<std::string> value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        if (value)
            ::setenv(name, value->c_str(), 1);
        else
            ::unsetenv(name);
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

// A listening unix socket at path, closed with the scope.
class ListeningSocket {
public:
    explicit ListeningSocket(const std::string& path) : fd_(::socket(AF_UNIX, SOCK_STREAM, 0)) {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        path.copy(address.sun_path, sizeof address.sun_path - 1);
        ::bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address);
        ::listen(fd_, 1);
    }
    ~ListeningSocket() { ::close(fd_); }

private:
    int fd_;
};

TEST(SessionBusAddressTest, PrefersTheEnvironmentThenTheUserSocketAndNeverAutolaunches) {
    const auto dir =
        std::filesystem::temp_directory_path() / ("tavren run dir %" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    {
        ScopedEnv runtime("XDG_RUNTIME_DIR", dir.string());
        {
            ScopedEnv bus("DBUS_SESSION_BUS_ADDRESS", "unix:path=/somewhere/bus");
            EXPECT_EQ(sessionBusAddress(), "unix:path=/somewhere/bus");
        }
        ScopedEnv bus("DBUS_SESSION_BUS_ADDRESS", std::nullopt);
        EXPECT_EQ(sessionBusAddress(), ""); // no socket yet: no bus, and no daemon started
        {
            ListeningSocket socket((dir / "bus").string());
            // Bytes outside the plain set of an address value are escaped.
            const auto escaped = std::string("unix:path=") + dir.parent_path().string() +
                                 "/tavren%20run%20dir%20%25" + std::to_string(::getpid()) + "/bus";
            EXPECT_EQ(sessionBusAddress(), escaped);
        }
        ScopedEnv noRuntime("XDG_RUNTIME_DIR", std::nullopt);
        EXPECT_EQ(sessionBusAddress(), "");
    }
    std::filesystem::remove_all(dir);
}

} // namespace
