// host_windows.cpp: the host calls on Windows. Paths arrive as UTF-8 and go
// to the wide-character calls, so a player's folder under a user name with
// accents works; files are always opened as binary.
#include "engine/host.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#include <psapi.h>
#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <sys/stat.h>
#include <direct.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

std::wstring Wide(const std::string& utf8) {
    const int n = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(n), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), n);
    return wide;
}

std::string Utf8(const std::wstring& wide) {
    const int n = ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr,
                                        nullptr);
    std::string utf8(static_cast<size_t>(n), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), utf8.data(), n, nullptr, nullptr);
    std::replace(utf8.begin(), utf8.end(), '\\', '/');
    return utf8;
}

// errno for the last failed Windows call.
void SetErrnoFromWindows() {
    switch (::GetLastError()) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND: errno = ENOENT; break;
        case ERROR_ALREADY_EXISTS:
        case ERROR_FILE_EXISTS: errno = EEXIST; break;
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL: errno = ENOSPC; break;
        default: errno = EACCES; break;
    }
}

// Whether Windows stores a file under this name as it is. It reads "a:b" as a
// hidden stream "b" of the file "a", names "CON" or "nul.txt" a device, and
// drops a name's trailing dots and spaces ("Alice." would be "Alice"); such
// names, which a player may type on any system, are refused instead.
bool Storable(const std::string& path) {
    size_t start = path.size() >= 2 && path[1] == ':' ? 2 : 0;   // the drive
    while (start <= path.size()) {
        size_t end = path.find_first_of("/\\", start);
        if (end == std::string::npos) end = path.size();
        const std::string part = path.substr(start, end - start);
        start = end + 1;
        if (part.empty() || part == "." || part == "..") continue;
        for (const unsigned char c : part)
            if (c < 32 || std::strchr("<>:\"|?*", c)) return false;
        if (part.back() == '.' || part.back() == ' ') return false;
        std::string stem = part.substr(0, part.find('.'));
        for (char& c : stem) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        for (const char* device : {"CON", "PRN", "AUX", "NUL"})
            if (stem == device) return false;
        if (stem.size() == 4 && (stem.starts_with("COM") || stem.starts_with("LPT")) && stem[3] >= '0' &&
            stem[3] <= '9')
            return false;
    }
    return true;
}

// EINVAL for a name Windows would store as another.
bool RefuseUnstorable(const std::string& path) {
    if (Storable(path)) return false;
    errno = EINVAL;
    return true;
}

}  // namespace

HostFileInfo Host_Stat(const std::string& path) {
    // The C library finds no folder "gfx/obj/" with its trailing slash.
    if (RefuseUnstorable(path)) return {};
    std::string trimmed = path;
    while (trimmed.size() > 1 && trimmed.back() == '/' && trimmed[trimmed.size() - 2] != ':') trimmed.pop_back();
    struct _stat64 st {};
    if (::_wstat64(Wide(trimmed).c_str(), &st) != 0) return {};
    return {true, (st.st_mode & _S_IFMT) == _S_IFREG, (st.st_mode & _S_IFMT) == _S_IFDIR,
            static_cast<uint64_t>(st.st_size)};
}

bool Host_FileSize(int fd, uint64_t& size) {
    struct _stat64 st {};
    if (::_fstat64(fd, &st) != 0) return false;
    size = static_cast<uint64_t>(st.st_size);
    return true;
}

int Host_OpenRegular(const std::string& path) {
    if (RefuseUnstorable(path)) return -1;
    // Windows refuses to open a folder at all (EACCES): say what it is.
    const HostFileInfo info = Host_Stat(path);
    if (info.exists && !info.regular) {
        errno = info.folder ? EISDIR : EINVAL;
        return -1;
    }
    const int fd = ::_wopen(Wide(path).c_str(), _O_RDONLY | _O_BINARY | _O_NOINHERIT);
    if (fd < 0) return -1;
    struct _stat64 st {};
    if (::_fstat64(fd, &st) != 0 || (st.st_mode & _S_IFMT) != _S_IFREG) {
        ::_close(fd);
        errno = EINVAL;
        return -1;
    }
    return fd;
}

int64_t Host_Read(int fd, void* buffer, size_t n) {
    return ::_read(fd, buffer, static_cast<unsigned>(std::min<size_t>(n, 1u << 30)));
}

int Host_CreateUniqueFile(const std::string& stem, std::string& path) {
    static std::atomic<uint32_t> serial{0};
    const char* letters = "abcdefghijklmnopqrstuvwxyz0123456789";
    for (int attempt = 0; attempt < 100; ++attempt) {
        uint32_t n = ::GetCurrentProcessId() * 2654435761u ^ ::GetTickCount() ^ (serial++ * 40503u);
        path = stem;
        for (int i = 0; i < 6; ++i, n /= 36) path += letters[n % 36];
        int fd = -1;
        const errno_t failure = ::_wsopen_s(&fd, Wide(path).c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT,
                                            _SH_DENYNO, _S_IREAD | _S_IWRITE);
        if (failure == 0) return fd;
        if (failure != EEXIST) {
            errno = failure;
            return -1;
        }
    }
    errno = EEXIST;
    return -1;
}

bool Host_WriteAll(int fd, const std::vector<uint8_t>& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const unsigned chunk = static_cast<unsigned>(std::min<size_t>(bytes.size() - done, 1u << 30));
        const int n = ::_write(fd, bytes.data() + done, chunk);
        if (n <= 0) return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

bool Host_Flush(int fd) { return ::_commit(fd) == 0; }

bool Host_Close(int fd) { return ::_close(fd) == 0; }

bool Host_Replace(const std::string& from, const std::string& to) {
    if (RefuseUnstorable(to)) return false;
    if (::MoveFileExW(Wide(from).c_str(), Wide(to).c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    SetErrnoFromWindows();
    return false;
}

int Host_LockFile(const std::string& path) {
    int fd = -1;
    const errno_t failure = ::_wsopen_s(&fd, Wide(path).c_str(), _O_RDWR | _O_CREAT | _O_BINARY | _O_NOINHERIT,
                                        _SH_DENYNO, _S_IREAD | _S_IWRITE);
    if (failure != 0) {
        errno = failure;
        return -1;
    }
    OVERLAPPED whole {};
    if (!::LockFileEx(reinterpret_cast<HANDLE>(::_get_osfhandle(fd)), LOCKFILE_EXCLUSIVE_LOCK, 0, 1, 0, &whole)) {
        ::_close(fd);
        errno = EIO;
        return -1;
    }
    return fd;
}

bool Host_Remove(const std::string& path) { return ::_wunlink(Wide(path).c_str()) == 0; }

// MOVEFILE_WRITE_THROUGH already waits until the rename is on the disk.
void Host_FlushFolder(const std::string&) {}

bool Host_MakeFolder(const std::string& path) {
    return !RefuseUnstorable(path) && ::_wmkdir(Wide(path).c_str()) == 0;
}

bool Host_ChangeFolder(const std::string& path) { return ::_wchdir(Wide(path).c_str()) == 0; }

std::string Host_ExecutablePath() {
    std::wstring buf(32768, L'\0');
    const DWORD n = ::GetModuleFileNameW(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
    if (n == 0 || n >= buf.size()) return {};
    buf.resize(n);
    return Utf8(buf);
}

std::string Host_DefaultPlayerFolder() {
    const wchar_t* appdata = ::_wgetenv(L"APPDATA");
    if (!appdata || !appdata[0]) return {};
    return Utf8(appdata) + "/Korvamo";
}

int64_t Host_ResidentKib() {
    PROCESS_MEMORY_COUNTERS counters {};
    if (!::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof counters)) return 0;
    return static_cast<int64_t>(counters.WorkingSetSize / 1024);
}

int64_t Host_PeakResidentKib() {
    PROCESS_MEMORY_COUNTERS counters {};
    if (!::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof counters)) return 0;
    return static_cast<int64_t>(counters.PeakWorkingSetSize / 1024);
}

void Host_ReportError(const std::string& message) {
    std::fprintf(stderr, "korvamo: %s\n", message.c_str());
    const HANDLE err = ::GetStdHandle(STD_ERROR_HANDLE);
    if (err == nullptr || err == INVALID_HANDLE_VALUE)
        ::MessageBoxW(nullptr, Wide(message).c_str(), L"Korvamo", MB_OK | MB_ICONERROR);
}
