// scratch.h: a throw-away working folder with tiny asset files for the registry tests.
#pragma once

#include <gtest/gtest.h>
#include <stb_image_write.h>
#include <stdlib.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "engine/record.h"
#include "engine/fs.h"

// Makes a fresh folder the working folder for one test, so the registries see
// the game's own relative names ("gfx\obj\", "sfx\"), and logs engine calls.
class ScratchFolder : public ::testing::Test {
protected:
    void SetUp() override {
        std::string templ = Fs_MakeScratchFolder("korvamo-assets-");
        ASSERT_FALSE(templ.empty());
        root_ = templ;
        old_cwd_ = std::filesystem::current_path();
        std::filesystem::current_path(root_);
        oe::Recorder_Enable(true);
    }
    void TearDown() override {
        oe::Recorder_Enable(false);
        std::filesystem::current_path(old_cwd_);
        std::error_code ec;
        std::filesystem::remove_all(root_, ec);
    }

    static void MakeFolder(const std::string& rel) { std::filesystem::create_directories(rel); }

    static void WriteBytes(const std::string& rel, const std::string& bytes) {
        std::filesystem::create_directories(std::filesystem::path(rel).parent_path());
        std::ofstream(rel, std::ios::binary) << bytes;
    }

    // A w x h image, opaque, every pixel the same grey.
    static std::vector<uint8_t> Pixels(int w, int h) { return std::vector<uint8_t>(size_t(w) * h * 4, 200); }

    static void WriteTga(const std::string& rel, int w, int h) {
        std::filesystem::create_directories(std::filesystem::path(rel).parent_path());
        ASSERT_NE(stbi_write_tga(rel.c_str(), w, h, 4, Pixels(w, h).data()), 0) << rel;
    }

    static void WriteJpg(const std::string& rel, int w, int h) {
        std::filesystem::create_directories(std::filesystem::path(rel).parent_path());
        ASSERT_NE(stbi_write_jpg(rel.c_str(), w, h, 4, Pixels(w, h).data(), 90), 0) << rel;
    }

    // 16-bit mono PCM, a few samples of silence.
    static void WriteWav(const std::string& rel, uint32_t rate = 22050, uint32_t samples = 64) {
        std::string b;
        auto u32 = [&b](uint32_t v) { for (int i = 0; i < 4; ++i) b += char((v >> (8 * i)) & 0xFF); };
        auto u16 = [&b](uint16_t v) { b += char(v & 0xFF); b += char(v >> 8); };
        const uint32_t data_bytes = samples * 2;
        b += "RIFF";
        u32(36 + data_bytes);
        b += "WAVEfmt ";
        u32(16);
        u16(1);          // PCM
        u16(1);          // mono
        u32(rate);
        u32(rate * 2);   // bytes per second
        u16(2);          // block align
        u16(16);         // bits per sample
        b += "data";
        u32(data_bytes);
        b += std::string(data_bytes, '\0');
        WriteBytes(rel, b);
    }

    // The logged calls of one engine function, in order.
    static std::vector<oe::RecordedCall> Calls(const std::string& name) {
        std::vector<oe::RecordedCall> out;
        for (const oe::RecordedCall& c : oe::Recorder_Calls())
            if (c.name == name) out.push_back(c);
        return out;
    }

    std::filesystem::path root_;
    std::filesystem::path old_cwd_;
};
