#include "posix_files.h"

#include "platform/backend/posix/descriptor.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tavren::backend::posix {

std::optional<std::string> PosixFiles::readPrefix(const std::string& path, std::size_t maxBytes) {
    // Non-blocking open, so that a FIFO without a writer cannot hang the program;
    // only regular files are read at all.
    const Descriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (fd.get() < 0) return std::nullopt;
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;

    std::string bytes;
    constexpr std::size_t kChunk = 64 * 1024;
    while (bytes.size() < maxBytes) {
        const std::size_t want = std::min(kChunk, maxBytes - bytes.size());
        const std::size_t had = bytes.size();
        bytes.resize(had + want);
        const ssize_t got = ::read(fd.get(), bytes.data() + had, want);
        if (got < 0) {
            bytes.resize(had);
            if (errno == EINTR) continue;
            return std::nullopt;
        }
        bytes.resize(had + static_cast<std::size_t>(got));
        if (got == 0) break;
    }
    return bytes;
}

} // namespace tavren::backend::posix
