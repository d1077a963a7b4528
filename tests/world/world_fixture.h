// A clean world on the recording backend, working in a temp folder, with
// textures of chosen sizes in the registries.
#pragma once

#include <gtest/gtest.h>
#include <stb_image_write.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "app/startup.h"
#include "engine/fs.h"
#include "assets/texbase.h"
#include "core/random.h"
#include "core/state.h"
#include "engine/backend_recording.h"
#include "engine/record.h"
#include "world/world.h"

class WorldTest : public ::testing::Test {
protected:
    void SetUp() override {
        old_cwd_ = std::filesystem::current_path();
        std::string pattern = Fs_MakeScratchFolder("korvamo-world-");
        ASSERT_FALSE(pattern.empty());
        dir_ = pattern;
        std::filesystem::current_path(dir_);
        backend_ = &oe::UseRecordingBackend();
        oe::Recorder_Enable(false);
        Game_Reset();
        game.main_camera = Cam2D_Create();
        game.tick_timer = Timer_Create(nullptr, 30, true);
        game.state = STATE_MENU;
        Random_ForceSeed(1);
        Random_SeedFromClock();
    }

    void TearDown() override {
        oe::Recorder_Enable(false);
        Game_Reset();
        std::filesystem::current_path(old_cwd_);
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }

    // A w x h texture named `name` in the registry.
    static OE_Texture AddTexture(TBase& registry, const std::string& name, int w, int h) {
        std::filesystem::create_directories("tex");
        const std::string file = "tex/" + name + ".tga";
        const std::vector<uint8_t> pixels(size_t(w) * h * 4, 200);
        EXPECT_NE(stbi_write_tga(file.c_str(), w, h, 4, pixels.data()), 0) << file;
        TexBase_Add(registry, "tex\\" + name + ".tga");
        return TexBase_Find(registry, name);
    }

    static void WriteFile(const std::string& path, const std::string& bytes) {
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        std::ofstream(path, std::ios::binary) << bytes;
    }

    // A world of its own; too large for the stack.
    static std::unique_ptr<tworld> NewWorld() { return std::make_unique<tworld>(); }

    static tminimal Object(const std::string& kind, int32_t x, int32_t y) {
        tminimal o;
        o.kind = kind;
        o.x = x;
        o.y = y;
        return o;
    }

    // The logged calls, as "Name args" strings with texture handles dropped.
    static std::vector<std::string> CallsWithout(const std::string& skipped = "") {
        std::vector<std::string> out;
        for (const oe::RecordedCall& c : oe::Recorder_Calls()) {
            if (c.name == skipped) continue;
            oe::RecordedCall copy = c;
            copy.handle = nullptr;
            out.push_back(copy.ToString());
        }
        return out;
    }

    std::filesystem::path dir_;
    oe::VirtualBackend* backend_ = nullptr;

private:
    std::filesystem::path old_cwd_;
};
