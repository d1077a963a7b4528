// fs.h: files and folder listings with the game's own path names.
//
// The game names files relative to its working folder with backslashes, as in
// "gfx\share\" or "wld\beach1.wld"; every call here takes such a name (host
// paths with '/' work too) and turns the backslashes into '/'. Names are
// case-sensitive. Listings are sorted by name so runs repeat exactly.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

// Files larger than this are refused by Fs_ReadFile (no game file comes near it).
constexpr size_t FS_MAX_FILE_BYTES = 64u * 1024u * 1024u;

// "wld\beach1.wld" -> "wld/beach1.wld".
std::string Fs_HostPath(const std::string& game_path);

// Two folders: the working folder holds the shipped data (textures, sounds,
// font, tracks, the menu song), which the game only reads; the player's folder
// holds what the game writes: "main.cfg", "prf\", "rec\" and the tracks the
// editor saves in "wld\". Every call here maps the game's names onto them:
// the player's files are read and written in the player's folder only; a
// track is read from the player's folder when it is there, else from the
// shipped data, and is always written to the player's folder; a listing of
// "wld\" holds both. An empty folder (the start) keeps everything in the
// working folder. `absolute_path` has no trailing '/'.
void Fs_SetPlayerFolder(const std::string& absolute_path);
const std::string& Fs_PlayerFolder();
// The host path a read of `game_path` opens, by the rules above.
std::string Fs_ReadPath(const std::string& game_path);

// True when `pattern` ('*' any run of characters, '?' any one character)
// matches `name` byte for byte. As on the game's home system, a pattern that
// ends in ".*" also matches names without that dot, so "*.*" matches every name.
bool Fs_MatchMask(const std::string& pattern, const std::string& name);

// The names (without folder) of the regular files that match a mask such as
// "prf\*.*" or "gfx\obj\*.tga", sorted by byte order. Folders are never listed,
// nor the game's own hidden files, whose names start with ".korvamo-": the
// temporary files of an unfinished Fs_WriteFileAtomic and locks. A missing folder
// gives an empty list.
std::vector<std::string> Fs_List(const std::string& mask);

// The whole file, or nothing when it is missing, not a regular file, unreadable
// or larger than `max_bytes` (never more than FS_MAX_FILE_BYTES).
std::optional<std::vector<uint8_t>> Fs_ReadFile(const std::string& path, size_t max_bytes = FS_MAX_FILE_BYTES);
// The file's first `max_bytes` at most (a longer file is cut there), or
// nothing when it is missing, not a regular file or unreadable: for text files
// whose every field has a limit, so a huge one costs no more than that.
std::optional<std::vector<uint8_t>> Fs_ReadFileHead(const std::string& path, size_t max_bytes);
// Opens a host path for reading when it is a regular file (or a link to one),
// never waiting: a FIFO, device or folder gives -1 like a missing file.
int Fs_OpenRegular(const std::string& host_path);

// Replaces the file in one step: the bytes go to a temporary file in the same
// folder, are flushed to disk, and the temporary file is renamed over the target.
// On any failure the old file is left as it was, the temporary file is removed,
// and the result is false.
// On failure errno tells why.
bool Fs_WriteFileAtomic(const std::string& path, const std::vector<uint8_t>& bytes);

// An exclusive lock between games on one machine, held from construction to
// destruction, on the file `path` (created when missing; name it ".korvamo-"
// something so it is never listed): for reading a file and writing it back
// in one step.
class Fs_Lock {
public:
    explicit Fs_Lock(const std::string& path);
    ~Fs_Lock();
    Fs_Lock(const Fs_Lock&) = delete;
    Fs_Lock& operator=(const Fs_Lock&) = delete;

private:
    int fd_ = -1;
};

// True for the name (without folder) of an atomic write's temporary file.
bool Fs_IsTemporaryName(const std::string& name);

// Test hook: the next atomic writes fail at this stage, as a full disk (Write) or a
// crash between writing and renaming (BeforeRename, which leaves the temporary file).
enum class FsFault { None, Write, BeforeRename };
void Fs_InjectFault(FsFault fault);

bool Fs_IsFolder(const std::string& path);
// Creates the folder (one level) unless it exists; true when it exists afterwards.
bool Fs_MakeFolder(const std::string& path);   // errno tells why it failed
bool Fs_IsFile(const std::string& path);       // a regular file (or a link to one)

// Makes `path` the working folder the game's relative names start from.
bool Fs_SetWorkingFolder(const std::string& path);
// The folder holding the running executable (no trailing '/'); empty if unknown.
std::string Fs_ExecutableFolder();

// A UTF-8 path as the standard library's path, and back (with '/'): on Windows
// a plain string would be read in the system's code page instead.
std::filesystem::path Fs_NativePath(const std::string& utf8);
std::string Fs_Utf8(const std::filesystem::path& path);
// Creates a new, empty folder in the system's temporary folder, named
// `prefix` and a random number; its path, or empty when none can be made.
std::string Fs_MakeScratchFolder(const std::string& prefix);
