// fs.cpp: the game's backslash paths on the host's file system.
#include "engine/fs.h"

#include <algorithm>
#include <cerrno>
#include <random>
#include <system_error>

#include "engine/host.h"

namespace {

// Temporary files of Fs_WriteFileAtomic start with kTempPrefix, so a crash
// between writing and renaming never makes them show up as profiles in a
// listing; no file of the game's own that starts with kHiddenPrefix is listed.
const std::string kHiddenPrefix = ".korvamo-";
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

// "/x" on any system, "C:/x" on Windows.
bool IsAbsolute(const std::string& host) {
    return (!host.empty() && host.front() == '/') || (host.size() >= 2 && host[1] == ':');
}

Holder HolderOf(const std::string& host) {
    if (player_folder.empty() || IsAbsolute(host)) return Holder::Shipped;
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

// Folder part of a host path: "" -> ".", "/x" -> "/", "C:/x" -> "C:/".
std::string ParentOf(const std::string& host) {
    const size_t slash = host.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0 || (slash == 2 && host[1] == ':')) return host.substr(0, slash + 1);
    return host.substr(0, slash);
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
        case Holder::Both: return Host_Stat(InPlayerFolder(host)).exists ? InPlayerFolder(host) : host;
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
        std::filesystem::directory_iterator it(Fs_NativePath(where), ec);
        for (; !ec && it != std::filesystem::directory_iterator(); it.increment(ec)) {
            const std::string name = Fs_Utf8(it->path().filename());
            if (name.compare(0, kHiddenPrefix.size(), kHiddenPrefix) == 0) continue;
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

int Fs_OpenRegular(const std::string& host_path) { return Host_OpenRegular(host_path); }

namespace {

// Up to `max_bytes` of the file; with `whole`, nothing when it holds more.
std::optional<std::vector<uint8_t>> ReadUpTo(const std::string& path, size_t max_bytes, bool whole) {
    max_bytes = std::min(max_bytes, FS_MAX_FILE_BYTES);
    const int fd = Fs_OpenRegular(Fs_ReadPath(path));
    if (fd < 0) return std::nullopt;
    uint64_t size = 0;
    if (!Host_FileSize(fd, size) || (whole && size > max_bytes)) {
        Host_Close(fd);
        return std::nullopt;
    }
    // Read to the end rather than trusting the size: the file may grow meanwhile.
    std::vector<uint8_t> bytes(static_cast<size_t>(std::min<uint64_t>(size, max_bytes)) + 1);
    size_t got = 0;
    bool ok = true;
    for (;;) {
        if (got == bytes.size()) {
            if (bytes.size() > max_bytes) break;
            bytes.resize(std::min(bytes.size() * 2, max_bytes + 1));
        }
        const int64_t n = Host_Read(fd, bytes.data() + got, bytes.size() - got);
        if (n < 0) ok = false;
        if (n <= 0) break;
        got += static_cast<size_t>(n);
    }
    Host_Close(fd);
    if (!ok || (whole && got > max_bytes)) return std::nullopt;
    bytes.resize(std::min(got, max_bytes));
    return bytes;
}

}  // namespace

std::optional<std::vector<uint8_t>> Fs_ReadFile(const std::string& path, size_t max_bytes) {
    return ReadUpTo(path, max_bytes, true);
}

std::optional<std::vector<uint8_t>> Fs_ReadFileHead(const std::string& path, size_t max_bytes) {
    return ReadUpTo(path, max_bytes, false);
}

Fs_Lock::Fs_Lock(const std::string& path) : fd_(Host_LockFile(WritePath(path))) {}

Fs_Lock::~Fs_Lock() {
    if (fd_ >= 0) Host_Close(fd_);
}

bool Fs_IsTemporaryName(const std::string& name) { return name.compare(0, kTempPrefix.size(), kTempPrefix) == 0; }

void Fs_InjectFault(FsFault fault) { injected_fault = fault; }

bool Fs_WriteFileAtomic(const std::string& path, const std::vector<uint8_t>& bytes) {
    const std::string host = WritePath(path);
    if (host.empty() || host.back() == '/') {
        errno = EINVAL;
        return false;
    }
    const std::string folder = ParentOf(host);
    std::string temp;
    const int fd = Host_CreateUniqueFile(folder + "/" + kTempPrefix, temp);
    if (fd < 0) return false;
    if (injected_fault == FsFault::Write) errno = EIO;
    bool ok = injected_fault != FsFault::Write && Host_WriteAll(fd, bytes) && Host_Flush(fd);
    int failure = errno;
    if (!Host_Close(fd) && ok) {
        ok = false;
        failure = errno;
    }
    // A crash here leaves the finished temporary file beside the untouched target.
    if (ok && injected_fault == FsFault::BeforeRename) {
        errno = EIO;
        return false;
    }
    if (ok && !Host_Replace(temp, host)) {
        ok = false;
        failure = errno;
    }
    if (!ok) {
        Host_Remove(temp);
        errno = failure;   // the reason, for the caller to tell
        return false;
    }
    Host_FlushFolder(folder);
    return true;
}

bool Fs_IsFolder(const std::string& path) { return Host_Stat(Fs_ReadPath(path)).folder; }

bool Fs_MakeFolder(const std::string& path) {
    if (Host_MakeFolder(WritePath(path))) return true;
    const int failure = errno;
    if (Fs_IsFolder(path)) return true;
    errno = failure;
    return false;
}

bool Fs_IsFile(const std::string& path) { return Host_Stat(Fs_ReadPath(path)).regular; }

bool Fs_SetWorkingFolder(const std::string& path) { return Host_ChangeFolder(Fs_HostPath(path)); }

std::string Fs_ExecutableFolder() {
    const std::string exe = Host_ExecutablePath();
    return exe.empty() ? exe : ParentOf(exe);
}

std::filesystem::path Fs_NativePath(const std::string& utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string Fs_Utf8(const std::filesystem::path& path) {
    const std::u8string text = path.generic_u8string();
    return std::string(text.begin(), text.end());
}

std::string Fs_MakeScratchFolder(const std::string& prefix) {
    std::error_code ec;
    const std::filesystem::path temp = std::filesystem::temp_directory_path(ec);
    if (ec) return {};
    std::random_device seed;
    std::mt19937 rng(seed());
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::filesystem::path folder = temp / (prefix + std::to_string(rng() % 100000000u));
        if (std::filesystem::create_directory(folder, ec)) return Fs_Utf8(folder);
        if (ec) return {};
    }
    return {};
}
