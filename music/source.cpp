// source.cpp: memory and file byte sources with zero fill past the end.
#include "music/source.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "engine/fs.h"
#include "engine/host.h"

ByteSource Source_OpenMemory(const void* base, uint32_t length) {
    ByteSource s;
    s.base = static_cast<const uint8_t*>(base);
    s.length = base ? length : 0;
    return s;
}

bool Source_OpenFile(ByteSource& source, const std::string& host_path) {
    source = ByteSource{};
    // Only a regular file: a FIFO would block the caller for good.
    const int fd = Fs_OpenRegular(host_path);
    if (fd < 0) return false;
    std::unique_ptr<std::FILE, FileCloser> f(::fdopen(fd, "rb"));
    if (!f) {
        Host_Close(fd);
        return false;
    }
    if (std::fseek(f.get(), 0, SEEK_END) != 0) return false;
    const long size = std::ftell(f.get());
    if (size < 0 || std::fseek(f.get(), 0, SEEK_SET) != 0) return false;
    if (static_cast<unsigned long>(size) > 0xFFFFFFFFul) {
        errno = EFBIG;
        return false;
    }
    source.length = static_cast<uint32_t>(size);
    source.file = std::move(f);
    return true;
}

uint32_t Source_Read(ByteSource& source, void* dest, uint32_t count) {
    auto* out = static_cast<uint8_t*>(dest);
    const int64_t left = std::max<int64_t>(0, int64_t(source.length) - source.position);
    uint32_t got = static_cast<uint32_t>(std::min<int64_t>(left, count));
    if (got > 0) {
        if (source.base) {
            std::memcpy(out, source.base + source.position, got);
        } else if (source.file) {
            // The file's own position equals ours while bytes remain; a read
            // error ends the file where it happened, which keeps them equal.
            const uint32_t want = got;
            got = static_cast<uint32_t>(std::fread(out, 1, want, source.file.get()));
            if (got < want) source.length = static_cast<uint32_t>(source.position + got);
        } else {
            got = 0;
        }
    }
    std::memset(out + got, 0, count - got);
    source.position += count;
    return got;
}

void Source_Seek(ByteSource& source, int64_t offset, int mode) {
    const int64_t target = mode == 0 ? offset : source.position + offset;
    if (target < 0 || target > int64_t(source.length)) return;
    if (source.file && std::fseek(source.file.get(), static_cast<long>(target), SEEK_SET) != 0) return;
    source.position = target;
}

void Source_Close(ByteSource& source) {
    source.file.reset();
    source.base = nullptr;
    source.length = 0;
}
