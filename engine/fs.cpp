// fs.cpp: the game's backslash paths on a POSIX file system.
#include "engine/fs.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <filesystem>
#include <system_error>

namespace {

// Temporary files of Fs_WriteFileAtomic start with this, so a crash between
// writing and renaming never makes them show up as profiles in a listing.
const std::string kTempPrefix = ".korvamo-tmp-";
FsFault injected_fault = FsFault::None;

// Where the player's files go; empty: the working folder holds everything.
std::string player_folder;

// Who holds a relative host path: the shipped data, the player's folder, or
// both (tracks: the player's own first, then the shipped ones).
enum class Holder { Shipped, Player, Both };

bool Under(const std::string& host, const char* folder) {
    const size_t n = std::char_traits<char>::length(folder);
    return host.compare(0, n, folder) == 0 && (host.size() == n || host[n] == '/');
}

Holder HolderOf(const std::string& host) {
    if (player_folder.empty() || host.empty() || host.front() == '/') return Holder::Shipped;
    if (host == "main.cfg" || Under(host, "prf") || Under(host, "rec")) return Holder::Player;
    if (Under(host, "wld")) return Holder::Both;
    return Holder::Shipped;
}

std::string InPlayerFolder(const std::string& host) { return player_folder + "/" + host; }

// Where a file the game writes goes.
std::string WritePath(const std::string& game_path) {
    const std::string host = Fs_HostPath(game_path);
    return HolderOf(host) == Holder::Shipped ? host : InPlayerFolder(host);
}

// Folder part of a host path: "" -> ".", "/x" -> "/".
std::string ParentOf(const std::string& host) {
    const size_t slash = host.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return host.substr(0, slash);
}

bool StatPath(const std::string& path, struct stat& st) {
    return ::stat(Fs_ReadPath(path).c_str(), &st) == 0;
}

bool WriteAll(int fd, const std::vector<uint8_t>& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

// Makes a finished rename survive a power cut; failure here loses nothing.
void SyncFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

}  // namespace

std::string Fs_HostPath(const std::string& game_path) {
    std::string host = game_path;
    std::replace(host.begin(), host.end(), '\\', '/');
    return host;
}

std::string Fs_ReadPath(const std::string& game_path) {
    const std::string host = Fs_HostPath(game_path);
    switch (HolderOf(host)) {
        case Holder::Player: return InPlayerFolder(host);
        case Holder::Both: {
            struct stat st {};
            return ::stat(InPlayerFolder(host).c_str(), &st) == 0 ? InPlayerFolder(host) : host;
        }
        case Holder::Shipped: break;
    }
    return host;
}

void Fs_SetPlayerFolder(const std::string& absolute_path) { player_folder = absolute_path; }

const std::string& Fs_PlayerFolder() { return player_folder; }

bool Fs_MatchMask(const std::string& pattern, const std::string& name) {
    size_t p = 0, n = 0;
    size_t star = std::string::npos, resume = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || pattern[p] == name[n])) {
            ++p;
            ++n;
        } else if (p < pattern.size() && pattern[p] == '*') {
            star = p++;
            resume = n;
        } else if (star != std::string::npos) {
            p = star + 1;
            n = ++resume;
        } else {
            break;
        }
    }
    if (n == name.size()) {
        while (p < pattern.size() && pattern[p] == '*') ++p;
        if (p == pattern.size()) return true;
    }
    const bool dot_star = pattern.size() >= 2 && pattern.compare(pattern.size() - 2, 2, ".*") == 0;
    return dot_star && name.find('.') == std::string::npos &&
           Fs_MatchMask(pattern.substr(0, pattern.size() - 2), name);
}

std::vector<std::string> Fs_List(const std::string& mask) {
    const std::string host = Fs_HostPath(mask);
    const size_t slash = host.rfind('/');
    const std::string pattern = slash == std::string::npos ? host : host.substr(slash + 1);
    const std::string folder = ParentOf(host);
    std::vector<std::string> folders;
    const Holder holder = HolderOf(folder);
    if (holder != Holder::Shipped) folders.push_back(InPlayerFolder(folder));
    if (holder != Holder::Player) folders.push_back(folder);

    std::vector<std::string> names;
    for (const std::string& where : folders) {
        std::error_code ec;
        std::filesystem::directory_iterator it(where, ec);
        for (; !ec && it != std::filesystem::directory_iterator(); it.increment(ec)) {
            const std::string name = it->path().filename().string();
            if (name.compare(0, kTempPrefix.size(), kTempPrefix) == 0) continue;
            std::error_code type_ec;
            if (!it->is_regular_file(type_ec) || type_ec) continue;
            if (Fs_MatchMask(pattern, name)) names.push_back(name);
        }
    }
    // A track of the player's under a shipped name is listed once.
    std::sort(names.begin(), names.end());
    names.erase(std::unique(names.begin(), names.end()), names.end());
    return names;
}

int Fs_OpenRegular(const std::string& host_path) {
    // Without O_NONBLOCK opening a FIFO waits for a writer, for ever.
    const int fd = ::open(host_path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
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

std::optional<std::vector<uint8_t>> Fs_ReadFile(const std::string& path) {
    const int fd = Fs_OpenRegular(Fs_ReadPath(path));
    if (fd < 0) return std::nullopt;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || static_cast<uint64_t>(st.st_size) > FS_MAX_FILE_BYTES) {
        ::close(fd);
        return std::nullopt;
    }
    // Read to the end rather than trusting the size: the file may grow meanwhile.
    std::vector<uint8_t> bytes(static_cast<size_t>(st.st_size) + 1);
    size_t got = 0;
    bool ok = true;
    for (;;) {
        if (got == bytes.size()) {
            if (bytes.size() > FS_MAX_FILE_BYTES) {
                ok = false;
                break;
            }
            bytes.resize(std::min(bytes.size() * 2, FS_MAX_FILE_BYTES + 1));
        }
        const ssize_t n = ::read(fd, bytes.data() + got, bytes.size() - got);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) ok = false;
        if (n <= 0) break;
        got += static_cast<size_t>(n);
    }
    ::close(fd);
    if (!ok || got > FS_MAX_FILE_BYTES) return std::nullopt;
    bytes.resize(got);
    return bytes;
}

void Fs_InjectFault(FsFault fault) { injected_fault = fault; }

bool Fs_WriteFileAtomic(const std::string& path, const std::vector<uint8_t>& bytes) {
    const std::string host = WritePath(path);
    if (host.empty() || host.back() == '/') {
        errno = EINVAL;
        return false;
    }
    const std::string folder = ParentOf(host);
    std::string temp = folder + "/" + kTempPrefix + "XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) return false;
    if (injected_fault == FsFault::Write) errno = EIO;
    bool ok = injected_fault != FsFault::Write && ::fchmod(fd, 0644) == 0 && WriteAll(fd, bytes) &&
              ::fsync(fd) == 0;
    int failure = errno;
    if (::close(fd) != 0 && ok) {
        ok = false;
        failure = errno;
    }
    // A crash here leaves the finished temporary file beside the untouched target.
    if (ok && injected_fault == FsFault::BeforeRename) {
        errno = EIO;
        return false;
    }
    if (ok && ::rename(temp.c_str(), host.c_str()) != 0) {
        ok = false;
        failure = errno;
    }
    if (!ok) {
        ::unlink(temp.c_str());
        errno = failure;   // the reason, for the caller to tell
        return false;
    }
    SyncFolder(folder);
    return true;
}

bool Fs_IsFolder(const std::string& path) {
    struct stat st {};
    return StatPath(path, st) && S_ISDIR(st.st_mode);
}

bool Fs_MakeFolder(const std::string& path) {
    if (::mkdir(WritePath(path).c_str(), 0755) == 0) return true;
    const int failure = errno;
    if (Fs_IsFolder(path)) return true;
    errno = failure;
    return false;
}

bool Fs_IsFile(const std::string& path) {
    struct stat st {};
    return StatPath(path, st) && S_ISREG(st.st_mode);
}

bool Fs_SetWorkingFolder(const std::string& path) {
    return ::chdir(Fs_HostPath(path).c_str()) == 0;
}

std::string Fs_ExecutableFolder() {
    std::string buf(PATH_MAX, '\0');
    const ssize_t n = ::readlink("/proc/self/exe", buf.data(), buf.size());
    if (n <= 0 || static_cast<size_t>(n) >= buf.size()) return {};
    buf.resize(static_cast<size_t>(n));
    return ParentOf(buf);
}
