// host.h: what differs between the operating systems the game runs on.
//
// Each function has one implementation for POSIX systems (host_posix.cpp)
// and one for Windows (host_windows.cpp); everything else in the game is the
// same source on both. Paths are UTF-8 with '/' (Windows takes it too).
// Failures leave errno set to the reason.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct HostFileInfo {
    bool exists = false;
    bool regular = false;   // a regular file (or a link to one)
    bool folder = false;
    uint64_t size = 0;
};
// What is at `path`, following links.
HostFileInfo Host_Stat(const std::string& path);
// Size of an open file; false when unknown.
bool Host_FileSize(int fd, uint64_t& size);

// Opens a regular file for reading, as binary, never waiting (a FIFO, device
// or folder gives -1 with errno EINVAL or EISDIR).
int Host_OpenRegular(const std::string& path);
// Reads up to `n` bytes; the count, 0 at the end, -1 on an error.
int64_t Host_Read(int fd, void* buffer, size_t n);
// Creates a new empty file, readable by all, named `stem` and six characters
// that make it unique; the name goes to `path`, the result is its descriptor
// open for binary writing, or -1.
int Host_CreateUniqueFile(const std::string& stem, std::string& path);
// Writes every byte; false on an error.
bool Host_WriteAll(int fd, const std::vector<uint8_t>& bytes);
// Flushes the file's bytes to the disk.
bool Host_Flush(int fd);
bool Host_Close(int fd);
// Renames `from` over `to` in one step, replacing a file already there.
bool Host_Replace(const std::string& from, const std::string& to);
bool Host_Remove(const std::string& path);
// Opens `path` (creating it, never through a symbolic link) and waits for an
// exclusive lock on it that other processes taking it respect; the
// descriptor, or -1. Closing the descriptor gives the lock up.
int Host_LockFile(const std::string& path);
// Makes a finished rename in `folder` survive a power cut, where the system
// asks for it; failure here loses nothing.
void Host_FlushFolder(const std::string& folder);
// Creates one folder level; false (errno EEXIST) when something is there.
bool Host_MakeFolder(const std::string& path);
bool Host_ChangeFolder(const std::string& path);

// The running executable's full path; empty if unknown.
std::string Host_ExecutablePath();
// Where the game keeps a player's files unless told otherwise:
// $XDG_DATA_HOME/korvamo or ~/.local/share/korvamo on POSIX systems,
// %APPDATA%/Korvamo on Windows; empty when the environment does not say.
std::string Host_DefaultPlayerFolder();
// The process's resident memory in KiB; 0 when it cannot be read.
int64_t Host_ResidentKib();
// The most the process has held resident so far, in KiB; 0 when unknown.
int64_t Host_PeakResidentKib();
// Tells the player why the game cannot run: "korvamo: MESSAGE" on standard
// error, and on Windows, where a game started from the desktop has none, in a
// message box.
void Host_ReportError(const std::string& message);
