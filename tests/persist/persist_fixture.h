// persist_fixture.h: a throw-away working folder with the option boxes the settings use.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include "app/startup.h"
#include "core/state.h"
#include "engine/backend_recording.h"
#include "engine/fs.h"
#include "engine/record.h"
#include "ui/element.h"
#include "ui/input_widgets.h"
#include "ui/screens.h"
#include "world/race_rules.h"

class PersistTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string templ = Fs_MakeScratchFolder("korvamo-persist-");
        ASSERT_FALSE(templ.empty());
        root_ = templ;
        old_cwd_ = std::filesystem::current_path();
        std::filesystem::current_path(root_);
        std::filesystem::create_directories("prf");
        oe::UseRecordingBackend();
        // The game starts in full screen.
        OE_SetScreenOptions(800, 600, 16, 0, true, true);
        oe::Recorder_Enable(true);
        Game_Reset();
        for (const char* name : {"chk_fs", "chk_wd", "chk_mme", "chk_mmd", "chk_ame", "chk_amd"}) {
            Element_Add(std::make_unique<Icheckbox>(name, 0, 0, 16, 16, "", 1));
        }
        Element_Add(std::make_unique<Iedit>("edt_ct", 0, 0, 100, 16, "", 0));
        Screens_Resolve();
    }
    void TearDown() override {
        Fs_InjectFault(FsFault::None);
        Game_Reset();
        oe::Recorder_Enable(false);
        std::filesystem::current_path(old_cwd_);
        std::error_code ec;
        std::filesystem::remove_all(root_, ec);
    }

    static void WriteBytes(const std::string& rel, const std::string& bytes) {
        std::ofstream(rel, std::ios::binary) << bytes;
    }
    static std::string ReadBytes(const std::string& rel) {
        std::ifstream in(rel, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    static uint8_t& Ticked(const char* name) { return Element_Named(name).ticked; }
    static int ScreenSwitches() {
        int n = 0;
        for (const oe::RecordedCall& c : oe::Recorder_Calls()) n += c.name == "OE_ChangeScreenOptions";
        return n;
    }

    std::filesystem::path root_;
    std::filesystem::path old_cwd_;
};
