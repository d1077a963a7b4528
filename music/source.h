// source.h: the byte sources a song is read from: a memory image or a file.
//
// The loader reads through these two calls only. Every read is bounded by the
// data that exists: bytes past the end read as zeros, so a truncated song
// loads as if it were padded with zeros and the loader's checks see those.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

struct ByteSource {
    const uint8_t* base = nullptr;      // memory image (null for a file)
    uint32_t length = 0;                // bytes that exist
    int64_t position = 0;               // may stand past the end
    std::unique_ptr<std::FILE, FileCloser> file;
};

// A source over `length` bytes at `base`; the caller keeps them alive while loading.
ByteSource Source_OpenMemory(const void* base, uint32_t length);

// A source over a host file. False (and a closed source) when it cannot be
// opened or is longer than 4 GiB - 1.
bool Source_OpenFile(ByteSource& source, const std::string& host_path);

// Copies `count` bytes from the position into `dest` and moves the position on
// by `count`; bytes past the end are stored as zeros. Returns the bytes that
// came from the source.
uint32_t Source_Read(ByteSource& source, void* dest, uint32_t count);

// Moves the position to `offset` (mode 0, from the start) or by `offset`
// (mode 1, from the current position). A target before the start or beyond
// the end is ignored.
void Source_Seek(ByteSource& source, int64_t offset, int mode);

// Releases the file, if any. Reads after closing give zeros.
void Source_Close(ByteSource& source);
