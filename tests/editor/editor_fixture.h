// editor_fixture.h: the editor state on the recording backend, with the editor
// panel's controls, a small object registry and the test acting as the tick.
#pragma once

#include <gtest/gtest.h>
#include <stb_image_write.h>
#include <stdlib.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/startup.h"
#include "engine/fs.h"
#include "app/tick.h"
#include "assets/texbase.h"
#include "core/state.h"
#include "engine/backend_recording.h"
#include "engine/input.h"
#include "engine/record.h"
#include "ui/element.h"
#include "ui/input_widgets.h"
#include "ui/screens.h"
#include "world/world.h"

class EditorTest : public ::testing::Test {
protected:
    void SetUp() override {
        oe::UseRecordingBackend();
        oe::Input_Reset();
        std::string templ = Fs_MakeScratchFolder("korvamo-editor-");
        ASSERT_FALSE(templ.empty());
        root_ = templ;
        Game_Reset();
        // "tile1" comes first, so it answers for every kind without a texture of
        // its own name: 96 px wide, a pick radius of 32.
        AddTexture("tile1", 96, 96);
        AddTexture("lamp", 24, 24);
        AddTexture("lamp1", 24, 48);
        auto list = std::make_unique<Ilist>("lst_items", 0, 0, 100, 100, "items", 1);
        FList_Add(list->items, "tile");
        FList_Add(list->items, "lamp");
        items_ = list.get();
        Element_Add(std::move(list));
        for (const char* name : {"chk_ai", "chk_dyn", "chk_wp"})
            Element_Add(std::make_unique<Icheckbox>(name, 0, 0, 16, 16, "", 1));
        Element_Add(std::make_unique<Iedit>("edt_col", 0, 0, 100, 16, "$111111", 1));
        Screens_Resolve();
        game.main_camera = Cam2D_Create();
        game.state = STATE_EDITOR;
        oe::Recorder_Enable(true);
    }

    void TearDown() override {
        oe::Input_Reset();
        Game_Reset();
        std::error_code ec;
        std::filesystem::remove_all(root_, ec);
    }

    void AddTexture(const std::string& name, int w, int h) {
        const std::string path = (root_ / (name + ".tga")).string();
        const std::vector<uint8_t> pixels(size_t(w) * h * 4, 200);
        ASSERT_NE(stbi_write_tga(path.c_str(), w, h, 4, pixels.data()), 0);
        TexBase_Add(object_registry, path);
    }

    static uint8_t& Ticked(const char* name) { return Element_Named(name).ticked; }
    void Select(const std::string& item) {
        while (items_->items.names[0] != item) FList_Rotate(items_->items, 1);
    }

    // One game tick with the given input changes applied before it.
    static void Tick() {
        oe::Input_SetReader(oe::InputReader::Tick);
        GameTick();
        oe::Input_EndTurn(oe::InputReader::Tick);
    }
    static void MoveTo(int x, int y) { oe::Input_MouseMove(x, y); }
    static void Shift(bool down) { oe::Input_Key(OE_KEY_SHIFT, down); }
    // Presses and releases a button between two ticks: seen as one click.
    static void ClickAt(int button, int x, int y) {
        MoveTo(x, y);
        oe::Input_MouseButton(button, true, false);
        Tick();
        oe::Input_MouseButton(button, false, false);
    }

    std::filesystem::path root_;
    Ilist* items_ = nullptr;
};
