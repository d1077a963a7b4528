// The screens built for real: a temp working folder that sees the generated
// assets, the registries and font loaded from it, and the recording backend.
// Tests add profiles and link files to the folder before they build.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "app/settings.h"
#include "engine/fs.h"
#include "tools/harness/scratch_link.h"
#include "app/startup.h"
#include "assets/soundbase.h"
#include "assets/texbase.h"
#include "core/state.h"
#include "engine/backend_recording.h"
#include "engine/input.h"
#include "engine/record.h"
#include "ui/actions.h"
#include "ui/display_widgets.h"
#include "ui/element.h"
#include "ui/input_widgets.h"
#include "ui/screens.h"
#include "world/particles.h"
#include "world/race_rules.h"
#include "world/world.h"

class ScreensTest : public ::testing::Test {
protected:
    void SetUp() override {
        old_cwd_ = std::filesystem::current_path();
        std::string pattern = Fs_MakeScratchFolder("korvamo-screens-");
        ASSERT_FALSE(pattern.empty());
        dir_ = pattern;
        ASSERT_TRUE(harness::LinkAssets(KORVAMO_TEST_DATA, dir_));
        std::filesystem::current_path(dir_);
        backend_ = &oe::UseRecordingBackend();
        Game_Reset();
        // What the game hands the options screen's "Accept" at start-up.
        Actions_SetAcceptOptions(Settings_Accept);
        SndBase_LoadFolder(sound_registry, "sfx\\", "*.wav");
        TexBase_LoadFolder(share_registry, "gfx\\share\\");
        TexBase_LoadFolder(object_registry, "gfx\\obj\\");
        game.main_font = Text_LoadFontFromFile("fnt\\font.tga", "fnt\\font.ofi", 0xFFFFFFFF, 266);
    }

    void TearDown() override {
        Game_Reset();
        std::filesystem::current_path(old_cwd_);
        std::error_code ec;   // a scratch folder left behind harms no test
        std::filesystem::remove_all(dir_, ec);
    }

    void WriteFile(const std::string& path, const std::string& bytes) {
        std::filesystem::create_directories((dir_ / path).parent_path());
        std::ofstream(dir_ / path, std::ios::binary) << bytes;
    }

    std::string ReadFile(const std::string& path) {
        std::ifstream in(dir_ / path, std::ios::binary);
        return std::string((std::istreambuf_iterator<char>(in)), {});
    }

    static ielement& Named(const std::string& name) { return Element_Named(name); }

    // The control of a window shown with that caption: a name may be taken by
    // a later element of another window.
    static ielement& Control(const std::string& window, const std::string& caption) {
        const int32_t parent = Element_Find(window);
        for (const auto& e : element_list)
            if (e->relative && e->parent == parent && e->caption == caption) return *e;
        ADD_FAILURE() << "no " << caption << " in " << window;
        return Element_At(0);
    }

    // Runs a control's action as a click would.
    static void Click(const std::string& name) {
        ielement& control = Named(name);
        ASSERT_EQ(control.name, name);
        ASSERT_NE(control.action, nullptr) << name;
        control.action();
    }

    // The windows shown, in creation order.
    static std::vector<std::string> ShownWindows() {
        std::vector<std::string> out;
        for (const auto& e : element_list)
            if (dynamic_cast<Iwindow*>(e.get()) && e->visible) out.push_back(e->name);
        return out;
    }

    // How many times the sound registered under `name` was asked to play.
    static int PlayRequests(const std::string& name) {
        const OE_Sound sound = SndBase_Find(sound_registry, name);
        int n = 0;
        for (const auto& c : oe::Recorder_Calls())
            if (c.name == "Snd_Play" && c.handle == sound) ++n;
        return n;
    }

    std::filesystem::path dir_;
    oe::VirtualBackend* backend_ = nullptr;

private:
    std::filesystem::path old_cwd_;
};
