// host_posix.cpp: the host calls on Linux and other POSIX systems.
#include "engine/host.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fstream>

HostFileInfo Host_Stat(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return {};
    return {true, S_ISREG(st.st_mode), S_ISDIR(st.st_mode), static_cast<uint64_t>(st.st_size)};
}

bool Host_FileSize(int fd, uint64_t& size) {
    struct stat st {};
    if (::fstat(fd, &st) != 0) return false;
    size = static_cast<uint64_t>(st.st_size);
    return true;
}

int Host_OpenRegular(const std::string& path) {
    // Without O_NONBLOCK opening a FIFO waits for a writer, for ever.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return -1;
    errno = 0;
    struct stat st {};
    const int flags = ::fcntl(fd, F_GETFL);
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || flags < 0 ||
        ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        // errno tells the caller why: a folder or a device is no file to read.
        const int error = (S_ISREG(st.st_mode) && errno != 0) ? errno : (S_ISDIR(st.st_mode) ? EISDIR : EINVAL);
        ::close(fd);
        errno = error;
        return -1;
    }
    return fd;
}

int64_t Host_Read(int fd, void* buffer, size_t n) {
    for (;;) {
        const ssize_t got = ::read(fd, buffer, n);
        if (got < 0 && errno == EINTR) continue;
        return got;
    }
}

int Host_CreateUniqueFile(const std::string& stem, std::string& path) {
    path = stem + "XXXXXX";
    const int fd = ::mkstemp(path.data());
    if (fd >= 0 && ::fchmod(fd, 0644) != 0) {
        const int failure = errno;
        ::close(fd);
        ::unlink(path.c_str());
        errno = failure;
        return -1;
    }
    return fd;
}

bool Host_WriteAll(int fd, const std::vector<uint8_t>& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

bool Host_Flush(int fd) { return ::fsync(fd) == 0; }

bool Host_Close(int fd) { return ::close(fd) == 0; }

bool Host_Replace(const std::string& from, const std::string& to) { return ::rename(from.c_str(), to.c_str()) == 0; }

bool Host_Remove(const std::string& path) { return ::unlink(path.c_str()) == 0; }

int Host_LockFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0644);
    if (fd < 0) return -1;
    int locked;
    while ((locked = ::flock(fd, LOCK_EX)) != 0 && errno == EINTR) {}
    if (locked != 0) {
        const int failure = errno;
        ::close(fd);
        errno = failure;
        return -1;
    }
    return fd;
}

void Host_FlushFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

bool Host_MakeFolder(const std::string& path) { return ::mkdir(path.c_str(), 0755) == 0; }

bool Host_ChangeFolder(const std::string& path) { return ::chdir(path.c_str()) == 0; }

std::string Host_ExecutablePath() {
    std::string buf(PATH_MAX, '\0');
    const ssize_t n = ::readlink("/proc/self/exe", buf.data(), buf.size());
    if (n <= 0 || static_cast<size_t>(n) >= buf.size()) return {};
    buf.resize(static_cast<size_t>(n));
    return buf;
}

std::string Host_DefaultPlayerFolder() {
    // The XDG rules ignore a relative XDG_DATA_HOME.
    const char* xdg = std::getenv("XDG_DATA_HOME");
    if (xdg && xdg[0] == '/') return std::string(xdg) + "/korvamo";
    const char* home = std::getenv("HOME");
    if (home && home[0] == '/') return std::string(home) + "/.local/share/korvamo";
    return {};
}

int64_t Host_ResidentKib() {
    std::ifstream statm("/proc/self/statm");
    int64_t size = 0, resident = 0;
    if (!(statm >> size >> resident)) return 0;
    return resident * (::sysconf(_SC_PAGESIZE) / 1024);
}

int64_t Host_PeakResidentKib() {
    struct rusage usage {};
    return ::getrusage(RUSAGE_SELF, &usage) == 0 ? static_cast<int64_t>(usage.ru_maxrss) : 0;
}

void Host_ReportError(const std::string& message) { std::fprintf(stderr, "korvamo: %s\n", message.c_str()); }
