#include "posix_settings_file.h"

#include "platform/backend/posix/descriptor.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tavren::backend::posix {

using backend::ini::FileContent;

namespace {

std::string parentOf(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

bool makeDirectories(const std::string& dir) {
    struct stat st {};
    if (::stat(dir.c_str(), &st) == 0) return S_ISDIR(st.st_mode);
    if (errno != ENOENT) return false;
    const std::string parent = parentOf(dir);
    if (parent != dir && !makeDirectories(parent)) return false;
    // Configuration directories are private to the user.
    return ::mkdir(dir.c_str(), 0700) == 0 || errno == EEXIST;
}

bool writeAll(int fd, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// Writes through a symbolic link to the file it names, so a linked settings file
// stays linked.
std::string resolveLink(const std::string& path) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
    char resolved[PATH_MAX];
    if (::realpath(path.c_str(), resolved) == nullptr) return path;
    return resolved;
}

// A file the user cannot write (or one nobody may write, for root) stays as it
// is: an atomic rename needs only the directory's permission, and would replace
// a file that its owner made read-only to keep it.
bool isFrozen(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return false; // nothing there yet
    if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) return true;
    return ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0 && errno != ENOENT;
}

std::string temporaryName(const std::string& path, pid_t pid) {
    return path + "." + std::to_string(pid) + ".tmp";
}

// Removes temporary files that writers killed before their rename left behind;
// those of running writers stay.
void removeAbandonedTemporaries(const std::string& dir, const std::string& path) {
    const std::string base = path.substr(path.rfind('/') + 1) + ".";
    DIR* d = ::opendir(dir.c_str());
    if (!d) return;
    while (const dirent* e = ::readdir(d)) {
        const std::string name = e->d_name;
        if (name.size() <= base.size() + 4 || name.compare(0, base.size(), base) != 0 ||
            name.compare(name.size() - 4, 4, ".tmp") != 0)
            continue;
        const std::string digits = name.substr(base.size(), name.size() - base.size() - 4);
        if (digits.find_first_not_of("0123456789") != std::string::npos || digits.size() > 9)
            continue;
        const pid_t pid = static_cast<pid_t>(std::stol(digits));
        if (pid > 0 && ::kill(pid, 0) != 0 && errno == ESRCH) ::unlink((dir + "/" + name).c_str());
    }
    ::closedir(d);
}

} // namespace

FileContent PosixSettingsFile::read(const std::string& path, std::size_t maxBytes) {
    FileContent result;
    Descriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0) {
        result.status =
            (errno == ENOENT || errno == ENOTDIR) ? FileContent::Missing : FileContent::Unreadable;
        return result;
    }
    result.status = FileContent::Unreadable;
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) return result;
    char buffer[16384];
    for (;;) {
        const ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return {FileContent::Unreadable, {}};
        if (n == 0) break;
        result.bytes.append(buffer, static_cast<std::size_t>(n));
        if (result.bytes.size() > maxBytes) return {FileContent::Unreadable, {}};
    }
    result.status = FileContent::Read;
    return result;
}

bool PosixSettingsFile::replace(const std::string& requestedPath, const std::string& bytes,
                                const std::function<void()>& beforeRename) {
    const std::string path = resolveLink(requestedPath);
    if (isFrozen(path)) return false;
    const std::string dir = parentOf(path);
    if (!makeDirectories(dir)) return false;

    // The name carries the process id, so two running copies never share one.
    const std::string temp = temporaryName(path, ::getpid());
    Descriptor fd(
        ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0666));
    if (fd.get() < 0) return false;
    struct stat old {};
    if (::stat(path.c_str(), &old) == 0 && S_ISREG(old.st_mode))
        ::fchmod(fd.get(), old.st_mode & 07777);
    const bool written = writeAll(fd.get(), bytes) && ::fsync(fd.get()) == 0 && fd.close();
    if (!written) {
        ::unlink(temp.c_str());
        return false;
    }
    if (beforeRename) beforeRename();
    if (::rename(temp.c_str(), path.c_str()) != 0) {
        ::unlink(temp.c_str());
        return false;
    }
    // Make the rename itself durable; the new file is complete either way.
    Descriptor dirFd(::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dirFd.get() >= 0) ::fsync(dirFd.get());
    removeAbandonedTemporaries(dir, path);
    return true;
}

} // namespace tavren::backend::posix
