// A fresh game on the recording backend, working in its own temp folder.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "app/startup.h"
#include "engine/fs.h"
#include "assets/soundbase.h"
#include "assets/texbase.h"
#include "core/random.h"
#include "core/state.h"
#include "engine/backend_recording.h"
#include "tools/harness/scratch_link.h"

class GameFixture : public ::testing::Test {
protected:
    void SetUp() override {
        old_cwd_ = std::filesystem::current_path();
        std::string pattern = Fs_MakeScratchFolder("korvamo-app-");
        ASSERT_FALSE(pattern.empty());
        dir_ = pattern;
        std::filesystem::current_path(dir_);
        Game_Reset();
        Random_ForceSeed(1);
    }

    void TearDown() override {
        std::filesystem::current_path(old_cwd_);
        std::error_code ec;   // a scratch folder left behind harms no test
        std::filesystem::remove_all(dir_, ec);
    }

    // The generated assets, linked (a copy costs a second a test), and an
    // empty profile folder, as the data folder ships.
    void UseGeneratedData() {
        ASSERT_TRUE(harness::LinkAssets(KORVAMO_TEST_DATA, dir_));
        std::filesystem::create_directory(dir_ / "prf");
    }

    std::string Read(const std::string& path) {
        std::ifstream in(dir_ / path, std::ios::binary);
        return std::string((std::istreambuf_iterator<char>(in)), {});
    }

    void WriteFile(const std::string& path, const std::string& bytes) {
        std::filesystem::create_directories((dir_ / path).parent_path());
        std::ofstream(dir_ / path, std::ios::binary) << bytes;
    }

    // Runs the real entry for `ticks` ticks of 30 ms, one frame after each.
    void RunGame(int ticks) {
        oe::VirtualBackend& backend = oe::UseRecordingBackend();
        int left = ticks;
        backend.SetDriver([&] {
            if (left-- <= 0) return false;
            backend.Advance(30);
            return true;
        });
        Game_Main();
    }

    std::filesystem::path dir_;

private:
    std::filesystem::path old_cwd_;
};
