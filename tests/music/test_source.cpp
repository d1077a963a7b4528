// Byte sources: bounded reads that fill with zeros, and seeks that stay inside.
#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "music/source.h"

namespace {

const std::array<uint8_t, 6> kBytes = {1, 2, 3, 4, 5, 6};

TEST(Source, MemoryReadsInOrderAndZeroFillsPastTheEnd) {
    ByteSource s = Source_OpenMemory(kBytes.data(), kBytes.size());
    std::array<uint8_t, 4> out{};
    EXPECT_EQ(Source_Read(s, out.data(), 4), 4u);
    EXPECT_EQ(out, (std::array<uint8_t, 4>{1, 2, 3, 4}));
    out.fill(0xEE);
    EXPECT_EQ(Source_Read(s, out.data(), 4), 2u);
    EXPECT_EQ(out, (std::array<uint8_t, 4>{5, 6, 0, 0}));
    out.fill(0xEE);
    EXPECT_EQ(Source_Read(s, out.data(), 4), 0u);
    EXPECT_EQ(out, (std::array<uint8_t, 4>{0, 0, 0, 0}));
}

TEST(Source, SeekFromStartAndFromCurrentPosition) {
    ByteSource s = Source_OpenMemory(kBytes.data(), kBytes.size());
    uint8_t b = 0;
    Source_Seek(s, 3, 0);
    Source_Read(s, &b, 1);
    EXPECT_EQ(b, 4);
    Source_Seek(s, -3, 1);
    Source_Read(s, &b, 1);
    EXPECT_EQ(b, 2);
}

TEST(Source, SeeksOutsideTheDataAreIgnored) {
    ByteSource s = Source_OpenMemory(kBytes.data(), kBytes.size());
    uint8_t b = 0;
    Source_Seek(s, 2, 0);
    Source_Seek(s, 7, 0);
    Source_Seek(s, -5, 1);
    Source_Seek(s, int64_t(1) << 40, 1);
    Source_Read(s, &b, 1);
    EXPECT_EQ(b, 3);
    Source_Seek(s, 6, 0);   // the very end is a place to stand
    EXPECT_EQ(Source_Read(s, &b, 1), 0u);
}

TEST(Source, ANullMemoryImageReadsAsZeros) {
    ByteSource s = Source_OpenMemory(nullptr, 100);
    uint8_t b = 9;
    EXPECT_EQ(Source_Read(s, &b, 1), 0u);
    EXPECT_EQ(b, 0);
}

TEST(Source, FileReadsSeeksAndZeroFillsLikeMemory) {
    const auto path = std::filesystem::temp_directory_path() / "korvamo-source-test.bin";
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(kBytes.data()), kBytes.size());
    ByteSource s;
    ASSERT_TRUE(Source_OpenFile(s, path.string()));
    std::array<uint8_t, 4> out{};
    Source_Seek(s, 4, 0);
    EXPECT_EQ(Source_Read(s, out.data(), 4), 2u);
    EXPECT_EQ(out, (std::array<uint8_t, 4>{5, 6, 0, 0}));
    // Past the end, a seek back still lands on real bytes.
    Source_Seek(s, -7, 1);
    EXPECT_EQ(Source_Read(s, out.data(), 2), 2u);
    EXPECT_EQ(out[0], 2);
    Source_Close(s);
    EXPECT_EQ(Source_Read(s, out.data(), 1), 0u);
    std::filesystem::remove(path);
}

// A FIFO, a device or a folder opens as missing, at once.
TEST(Source, OnlyARegularFileOpens) {
    std::vector<std::string> paths = {std::filesystem::temp_directory_path().string()};
#ifndef _WIN32
    const std::filesystem::path fifo = std::filesystem::temp_directory_path() / "korvamo-source-fifo.xm";
    std::filesystem::remove(fifo);
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    paths.insert(paths.end(), {fifo.string(), "/dev/zero"});
#endif
    for (const std::string& path : paths) {
        ByteSource s;
        EXPECT_FALSE(Source_OpenFile(s, path)) << path;
    }
#ifndef _WIN32
    std::filesystem::remove(fifo);
#endif
}

TEST(Source, AMissingFileDoesNotOpen) {
    ByteSource s;
    EXPECT_FALSE(Source_OpenFile(s, "/nonexistent/korvamo/menu.xm"));
    uint8_t b = 7;
    EXPECT_EQ(Source_Read(s, &b, 1), 0u);
    EXPECT_EQ(b, 0);
}

}  // namespace
