// The screen builder: all 138 elements against the screen tables, the
// fields set after creation, the two filled lists and the style.
#include <algorithm>
#include <typeinfo>

#include "core/state.h"
#include "tests/ui/screens_fixture.h"
#include "ui/actions.h"
#include "ui/actions_profile.h"
#include "ui/actions_race.h"

namespace {

enum Class { W, Img, Btn, Lbl, Txt, Chk, Edt, Lst };

struct Row {
    Class kind;
    const char* name;
    const char* caption;
    int32_t x, y, w, h;
    uint8_t visible;
    OE_Procedure action;
};

// The tables in creation order: fourteen windows, each followed by its elements.
const Row kRows[] = {
    {W, "wnd_main", "Map Editor", 650, 0, 150, 600, 0, nullptr},
    {Edt, "edt_save", "test", 10, 40, 80, 40, 1, nullptr},
    {Btn, "btn_save", "Save", 100, 40, 45, 40, 1, act_editor_save},
    {Edt, "edt_load", "test", 10, 90, 80, 40, 1, nullptr},
    {Btn, "btn_load", "Load", 100, 90, 45, 40, 1, act_editor_load},
    {Lst, "lst_items", "items", 10, 140, 130, 300, 1, nullptr},
    {Chk, "chk_ai", "AI Enable", 10, 460, 80, 20, 1, nullptr},
    {Chk, "chk_dyn", "Dynamic", 10, 490, 80, 20, 1, nullptr},
    {Chk, "chk_wp", "Way", 100, 460, 45, 20, 1, nullptr},
    {Btn, "btn_dwp", "Undo", 100, 490, 45, 20, 1, act_editor_undo_waypoint},
    {Edt, "edt_col", "$111111", 10, 540, 130, 40, 1, nullptr},

    {W, "wnd_menu", "", 0, 0, 800, 600, 0, nullptr},
    {Img, "img_tit", "", 0, 0, 800, 256, 1, nullptr},
    {Img, "img_sh1", "", 544, 344, 256, 256, 1, nullptr},
    {Img, "img_sh2", "", 412, 196, 256, 256, 1, nullptr},
    {Img, "img_sh3", "", -256, 344, 512, 512, 1, nullptr},
    {Img, "img_wh", "", 560, 32, 256, 256, 1, nullptr},
    {Img, "img_tr", "", 40, 170, 128, 128, 1, nullptr},
    {Btn, "btn_tr", "Tournament", 160, 200, 160, 64, 1, act_tournament},
    {Btn, "btn_more", "More Games", 190, 250, 160, 64, 1, act_open_more_games},
    {Img, "img_sr", "", 100, 270, 128, 128, 1, nullptr},
    {Btn, "btn_sr", "Free Race", 230, 300, 160, 64, 1, act_free_race},
    {Btn, "btn_tell", "Tell a Friend", 260, 350, 160, 64, 1, act_open_tell_a_friend},
    {Img, "img_op", "", 160, 370, 128, 128, 1, nullptr},
    {Btn, "btn_op", "Options", 290, 400, 160, 64, 1, act_options},
    {Btn, "btn_tell", "Subscribe", 320, 450, 160, 64, 1, act_open_subscribe},
    {Img, "img_op33", "", 320, 465, 160, 65, 1, nullptr},
    {Img, "img_qt", "", 220, 470, 128, 128, 1, nullptr},
    {Btn, "btn_qt", "Quit", 350, 500, 160, 64, 1, act_quit},
    {Btn, "btn_pr", "Change profile", 410, 130, 180, 64, 1, act_change_profile},
    {Btn, "btn_hlp", "Help", 660, 280, 120, 64, 1, act_help},
    {Txt, "lb_hello", "Hello, ", 200, 140, 64, 64, 1, nullptr},
    {Img, "img_logo", "", 0, 536, 215, 64, 1, act_open_website},
    {Img, "img_logo21", "", 544, 504, 256, 128, 1, nullptr},

    {W, "wnd_pr", "Profile", 200, 150, 400, 300, 1, nullptr},
    {Btn, "btn_pr_cr", "Create new profile", 50, 60, 300, 64, 1, act_new_profile},
    {Btn, "btn_pr_ld", "Load existing", 50, 130, 300, 64, 1, act_pick_profile},
    {Btn, "btn_prbb", "Back to Menu", 50, 200, 300, 64, 1, act_back_to_menu},

    {W, "wnd_pr_cr", "Create profile", 200, 150, 400, 300, 0, nullptr},
    {Edt, "edt_pr_cr", "Player", 50, 80, 300, 64, 1, nullptr},
    {Btn, "btn_pr_cr_ac", "Accept", 50, 180, 300, 64, 1, act_create_profile},

    {W, "wnd_pr_ld", "Load profile", 200, 150, 400, 300, 0, nullptr},
    {Lst, "lst_pr", "Select", 50, 60, 230, 128, 1, nullptr},
    {Btn, "btn_lst_up", "Up", 286, 60, 64, 64, 1, act_profile_list_up},
    {Btn, "btn_lst_dn", "Down", 286, 124, 64, 64, 1, act_profile_list_down},
    {Btn, "btn_pr_ld_ac", "Accept", 50, 200, 300, 64, 1, act_load_profile},

    {W, "wnd_tour", "Tournament", 0, 0, 800, 600, 0, nullptr},
    {Img, "img_track", "", 40, 60, 400, 300, 1, nullptr},
    {Txt, "lb1", "Select your car", 592, 90, 64, 64, 1, nullptr},
    {Txt, "lb1", "Select your color", 592, 220, 64, 64, 1, nullptr},
    {Img, "img_car_wh", "", 600, 150, 64, 64, 1, nullptr},
    {Img, "img_car_tp", "", 600, 150, 64, 64, 1, nullptr},
    {Img, "img_locktr", "", 600, 150, 64, 64, 0, nullptr},
    {Btn, "btn_car_up", "Next", 660, 150, 100, 64, 1, act_next_car},
    {Btn, "btn_car_dn", "Prev", 500, 150, 100, 64, 1, act_prev_car},
    {Img, "img_color", "", 599, 280, 64, 64, 1, nullptr},
    {Btn, "btn_col_up", "Next", 660, 280, 100, 64, 1, act_next_colour},
    {Btn, "btn_col_dn", "Prev", 500, 280, 100, 64, 1, act_prev_colour},
    {Btn, "btn_bk", "Back to Menu", 40, 500, 180, 64, 1, act_back_to_menu},
    {Btn, "btn_start_tr", "Start Race!", 600, 500, 160, 64, 1, act_start_tournament_race},
    {Btn, "btn_pow", "medium", 400, 500, 160, 64, 1, act_difficulty},
    {Txt, "lb_diffff", "Difficulty", 340, 530, 0, 0, 1, nullptr},
    {Btn, "btn_send", "More Games", 600, 500, 160, 64, 0, act_open_more_games},
    {Txt, "lb_ccc", "", 400, 460, 0, 0, 1, nullptr},
    {Txt, "lb_cccscr", "lkj", 400, 430, 0, 0, 1, nullptr},
    {Txt, "lb_ctrack", "Track", 128, 330, 0, 0, 1, nullptr},

    {W, "wnd_opt", "Options", 0, 0, 800, 600, 0, nullptr},
    {Img, "img_shss", "", 544, 344, 256, 256, 1, nullptr},
    {Txt, "txt_dm", "Display Mode", 80, 140, 180, 40, 1, nullptr},
    {Chk, "chk_fs", "Fullscreen", 280, 140, 180, 40, 1, act_fullscreen},
    {Chk, "chk_wd", "Windowed", 480, 140, 180, 40, 1, act_windowed},
    {Txt, "txt_am", "Ambient Sounds", 80, 220, 180, 40, 1, nullptr},
    {Chk, "chk_ame", "Enabled", 280, 220, 180, 40, 1, act_ambient_on},
    {Chk, "chk_amd", "Disabled", 480, 220, 180, 40, 1, act_ambient_off},
    {Txt, "txt_mm", "Music in Menu", 80, 300, 180, 40, 1, nullptr},
    {Chk, "chk_mme", "Enabled", 280, 300, 180, 40, 1, act_music_on},
    {Chk, "chk_mmd", "Disabled", 480, 300, 180, 40, 1, act_music_off},
    {Txt, "txt_ct", "Country", 80, 390, 180, 40, 0, nullptr},
    {Edt, "edt_ct", "", 280, 380, 220, 64, 0, nullptr},
    {Btn, "btn_bk22", "Back to Menu", 40, 500, 180, 64, 1, act_back_to_menu},
    {Btn, "btn_acc", "Accept", 240, 500, 180, 64, 1, act_accept_options},

    {W, "wnd_sr", "Free Race", 0, 0, 800, 600, 0, nullptr},
    {Img, "img_track2", "", 40, 60, 400, 300, 1, nullptr},
    {Lbl, "txt_locktr_map2", "This track is locked", 40, 60, 400, 300, 0, nullptr},
    {Txt, "lb12", "Select your car", 592, 90, 64, 64, 1, nullptr},
    {Txt, "lb12", "Select your color", 592, 220, 64, 64, 1, nullptr},
    {Img, "img_car_wh2", "", 600, 150, 64, 64, 1, nullptr},
    {Img, "img_car_tp2", "", 600, 150, 64, 64, 1, nullptr},
    {Img, "img_locktr2", "", 600, 150, 64, 64, 0, nullptr},
    {Btn, "btn_car_up2", "Next", 660, 150, 100, 64, 1, act_next_car},
    {Btn, "btn_car_dn2", "Prev", 500, 150, 100, 64, 1, act_prev_car},
    {Img, "img_color2", "", 599, 280, 64, 64, 1, nullptr},
    {Btn, "btn_col_up2", "Next", 660, 280, 100, 64, 1, act_next_colour},
    {Btn, "btn_col_dn2", "Prev", 500, 280, 100, 64, 1, act_prev_colour},
    {Btn, "btn_cus_up", "Next Track", 260, 400, 180, 64, 1, act_next_track},
    {Btn, "btn_cus_dn", "Prev Track", 40, 400, 180, 64, 1, act_prev_track},
    {Btn, "btn_pow2", "medium", 400, 500, 160, 64, 1, act_difficulty},
    {Txt, "lb_diffff", "Difficulty", 340, 530, 0, 0, 1, nullptr},
    {Btn, "btn_start_tr2", "Start Race!", 600, 500, 160, 64, 1, act_start_free_race},
    {Txt, "lb_ctrack2", "Track", 128, 330, 0, 0, 1, nullptr},
    {Btn, "btn_bk3", "Back to Menu", 40, 500, 180, 64, 1, act_back_to_menu},

    {W, "wnd_fin_good", "Finish", 200, 150, 400, 340, 0, nullptr},
    {Img, "img_ff", "", 136, 20, 128, 128, 1, nullptr},
    {Txt, "lb_c1", "Congratulations!!!", 200, 140, 0, 0, 1, nullptr},
    {Txt, "lb_c2", "Now you can advance", 200, 180, 0, 0, 1, nullptr},
    {Txt, "lb_c3", "to the next race!", 200, 220, 0, 0, 1, nullptr},
    {Btn, "btn_co", "Continue", 120, 250, 160, 64, 1, act_tournament},

    {W, "wnd_fin_bad", "Finish", 200, 150, 400, 340, 0, nullptr},
    {Img, "img_ffa", "", 136, 20, 128, 128, 1, nullptr},
    {Txt, "lb_c1a", "Not bad...", 200, 140, 0, 0, 1, nullptr},
    {Txt, "lb_c2a", "But you have to finish", 200, 180, 0, 0, 1, nullptr},
    {Txt, "lb_c3a", "the race first.", 200, 220, 0, 0, 1, nullptr},
    {Btn, "btn_coa", "Continue", 120, 250, 160, 64, 1, act_tournament},

    {W, "wnd_fin_good2", "Finish", 200, 150, 400, 340, 0, nullptr},
    {Img, "img_ff2", "", 136, 20, 128, 128, 1, nullptr},
    {Txt, "lb_c12", "Congratulations!!!", 200, 140, 0, 0, 1, nullptr},
    {Txt, "lb_c22", "You have finished", 200, 180, 0, 0, 1, nullptr},
    {Txt, "lb_c32", "first!", 200, 220, 0, 0, 1, nullptr},
    {Btn, "btn_co2", "Continue", 120, 250, 160, 64, 1, act_free_race},

    {W, "wnd_fin_bad2", "Finish", 200, 150, 400, 340, 0, nullptr},
    {Img, "img_ffa2", "", 136, 20, 128, 128, 1, nullptr},
    {Txt, "lb_c1a2", "Not bad...", 200, 140, 0, 0, 1, nullptr},
    {Txt, "lb_c2a2", "But you have to finish", 200, 180, 0, 0, 1, nullptr},
    {Txt, "lb_c3a2", "the race first.", 200, 220, 0, 0, 1, nullptr},
    {Btn, "btn_coa2", "Continue", 120, 250, 160, 64, 1, act_free_race},

    {W, "wnd_pause", "Pause", 200, 150, 400, 340, 0, nullptr},
    {Img, "img_cc", "", 136, 40, 128, 128, 1, nullptr},
    {Btn, "btn_res", "Resume", 100, 180, 200, 64, 1, act_resume},
    {Btn, "btn_coa2", "Exit to Menu", 100, 250, 200, 64, 1, act_back_to_menu},

    {W, "wnd_help", "Help", 0, 0, 800, 600, 0, nullptr},
    {Btn, "btn_bk21", "Back to Menu", 40, 500, 180, 64, 1, act_back_to_menu},
    {Btn, "btn_ov", "Overview", 250, 500, 160, 64, 1, act_help_overview},
    {Btn, "btn_ctr", "Controls", 430, 500, 160, 64, 1, act_help_controls},
    {Img, "img_ttt", "", 64, 64, 512, 256, 1, nullptr},
    {Img, "img_shs1", "", 480, 64, 256, 256, 1, nullptr},
    {Img, "img_h1", "", 0, 150, 800, 364, 1, nullptr},
    {Img, "img_h2", "", 9, 151, 800, 364, 0, nullptr},
    {Img, "img_h3", "", 0, 150, 800, 364, 0, nullptr},
};

Class ClassOf(const ielement& e) {
    if (dynamic_cast<const Iwindow*>(&e)) return W;
    if (dynamic_cast<const Iimage*>(&e)) return Img;
    if (dynamic_cast<const Ibutton*>(&e)) return Btn;
    if (dynamic_cast<const Ilabel*>(&e)) return Lbl;
    if (dynamic_cast<const Itext*>(&e)) return Txt;
    if (dynamic_cast<const Icheckbox*>(&e)) return Chk;
    if (dynamic_cast<const Iedit*>(&e)) return Edt;
    return Lst;
}

class ScreenBuilder : public ScreensTest {
protected:
    void SetUp() override {
        ScreensTest::SetUp();
        WriteFile("prf/Bob", std::string("\x02\r\n10\r\n", 7));
        WriteFile("prf/Alice", std::string("\0\r\n", 3));
        Screens_Build();
    }

    OE_Texture TextureOf(const std::string& name) {
        return Element_As<Iimage>(Element_Find(name)).texture;
    }
    static OE_Texture Share(const char* name) { return TexBase_Find(share_registry, name); }
    static OE_Texture Obj(const char* name) { return TexBase_Find(object_registry, name); }
};

TEST_F(ScreenBuilder, BuildsThe138ElementsOfTheTablesInCreationOrder) {
    ASSERT_EQ(element_list.size(), std::size(kRows));
    ASSERT_EQ(element_list.size(), 138u);
    int32_t window = -1;
    for (size_t i = 0; i < element_list.size(); ++i) {
        const Row& r = kRows[i];
        const ielement& e = *element_list[i];
        SCOPED_TRACE(testing::Message() << "element " << i << " " << r.name);
        EXPECT_EQ(ClassOf(e), r.kind);
        EXPECT_EQ(e.name, r.name);
        EXPECT_EQ(e.caption, r.caption);
        EXPECT_EQ((std::array{e.x, e.y, e.w, e.h}), (std::array{r.x, r.y, r.w, r.h}));
        EXPECT_EQ(e.visible, r.visible);
        EXPECT_EQ(e.action, r.action);
        if (r.kind == W) {
            window = static_cast<int32_t>(i);
            EXPECT_EQ(e.relative, 0);
            EXPECT_EQ(e.fixed, 1);
        } else {
            EXPECT_EQ(e.relative, 1);
            EXPECT_EQ(e.parent, window);
        }
        EXPECT_EQ(e.ticked, 0);
        EXPECT_EQ(e.focused, 0);
    }
}

TEST_F(ScreenBuilder, DuplicateNamesFindTheLaterElementAndBothKeepTheirActions) {
    EXPECT_EQ(Named("btn_tell").caption, "Subscribe");
    EXPECT_EQ(Named("btn_tell").action, act_open_subscribe);
    EXPECT_EQ(Named("btn_coa2").caption, "Exit to Menu");
    EXPECT_EQ(Named("btn_coa2").action, act_back_to_menu);
    EXPECT_EQ(Named("lb1").caption, "Select your color");
    EXPECT_EQ(Named("lb12").caption, "Select your color");
    EXPECT_EQ(Element_Named("lb_diffff").parent, Element_Find("wnd_sr"));
}

TEST_F(ScreenBuilder, OnlyTheProfileChoiceDialogStartsVisible) {
    EXPECT_EQ(ShownWindows(), std::vector<std::string>{"wnd_pr"});
}

TEST_F(ScreenBuilder, ImagesTakeTheirTexturesFromTheRegistries) {
    const std::pair<const char*, const char*> share[] = {
        {"img_tit", "g_tit"},   {"img_sh1", "g_sh"},     {"img_sh2", "g_sh"},    {"img_sh3", "g_sh"},
        {"img_wh", "g_wh"},     {"img_tr", "g_tr"},      {"img_sr", "g_sr"},     {"img_op", "g_op"},
        {"img_op33", "ann"},    {"img_qt", "g_qt"},      {"img_logo", "logo2"},  {"img_logo21", "vemko"},
        {"img_track", "t0"},    {"img_locktr", "lock"},  {"img_color", "color"}, {"img_shss", "g_sh"},
        {"img_track2", "t0"},   {"img_locktr2", "lock"}, {"img_color2", "color"}, {"img_ff", "g_qt"},
        {"img_ffa", "g_qt"},    {"img_ff2", "g_qt"},     {"img_ffa2", "g_qt"},   {"img_cc", "g_sr"},
        {"img_ttt", "g_tit"},   {"img_shs1", "g_sh"},    {"img_h1", "help1"},    {"img_h2", "help2"},
        {"img_h3", "help2"},
    };
    for (const auto& [image, texture] : share) {
        ASSERT_NE(Share(texture), nullptr) << texture;
        EXPECT_EQ(TextureOf(image), Share(texture)) << image;
    }
    // The car previews: the jeep, car kind 0, body and tinted top layer.
    for (const char* suffix : {"", "2"}) {
        const std::string s = suffix;
        ASSERT_NE(Obj("jeep_wh10"), nullptr);
        EXPECT_EQ(TextureOf("img_car_wh" + s), Obj("jeep_wh10"));
        EXPECT_EQ(TextureOf("img_car_tp" + s), Obj("jeep_tp10"));
        EXPECT_EQ(Element_As<Iimage>(Element_Find("img_car_tp" + s)).tinted, 1);
        EXPECT_EQ(Element_As<Iimage>(Element_Find("img_color" + s)).tinted, 1);
        EXPECT_EQ(Element_As<Iimage>(Element_Find("img_car_wh" + s)).tinted, 0);
    }
    // Only the logo takes clicks.
    for (const auto& e : element_list) {
        if (const auto* image = dynamic_cast<const Iimage*>(e.get())) {
            EXPECT_EQ(image->clickable, e->name == "img_logo") << e->name;
        }
    }
}

TEST_F(ScreenBuilder, TheEditorListHoldsTheLinesOfTheObjectListFile) {
    const TF_list expected = FList_FromTextFile("gfx\\obj\\list.txt");
    const Ilist& items = Element_As<Ilist>(Element_Find("lst_items"));
    ASSERT_GT(expected.count, 10);
    ASSERT_EQ(items.items.count, expected.count);
    for (int32_t i = 0; i < expected.count; ++i) EXPECT_EQ(items.items.names[i], expected.names[i]);
    EXPECT_EQ(items.no_buttons, 0);
}

TEST_F(ScreenBuilder, TheProfileListHoldsTheProfileFilesAndHasNoScrollSquares) {
    const Ilist& profiles = Element_As<Ilist>(Element_Find("lst_pr"));
    ASSERT_EQ(profiles.items.count, 2);
    EXPECT_EQ(profiles.items.names[0], "Alice");
    EXPECT_EQ(profiles.items.names[1], "Bob");
    EXPECT_EQ(profiles.no_buttons, 1);
    EXPECT_EQ(profiles.highlight_row, 0);
}

TEST_F(ScreenBuilder, FinishesTheStyleWithTheSkinsSoundsAndColours) {
    EXPECT_EQ(gui.font, game.main_font);
    EXPECT_EQ(gui.window_skin, Share("g_wnd"));
    EXPECT_EQ(gui.button_skin, Share("g_but"));
    EXPECT_EQ(gui.highlight_colour, 0x000000);
    EXPECT_EQ(gui.text_colour, 0xFFFFFF);
    EXPECT_EQ(gui.button_text_colour, 0xFFFFFF);
    EXPECT_EQ(gui.click_sound, SndBase_Find(sound_registry, "click"));
    EXPECT_EQ(gui.hover_sound, SndBase_Find(sound_registry, "select"));
    EXPECT_NE(gui.click_sound, gui.hover_sound);
    std::vector<const void*> buffers;
    for (const auto& c : oe::Recorder_Calls())
        if (c.name == "Snd_SetBuffersCount") {
            EXPECT_EQ(c.args, std::vector<double>{4});
            buffers.push_back(c.handle);
        }
    EXPECT_EQ(buffers, (std::vector<const void*>{gui.click_sound, gui.hover_sound}));
}

// Every window shown alone for a frame: each button's and check box's caption
// is drawn inside its box, however long it is.
TEST_F(ScreenBuilder, EveryButtonAndCheckBoxCaptionIsDrawnInsideItsBox) {
    int checked = 0;
    for (size_t w = 0; w < element_list.size(); ++w) {
        ielement& window = *element_list[w];
        if (!dynamic_cast<Iwindow*>(&window)) continue;
        for (auto& e : element_list)
            if (dynamic_cast<Iwindow*>(e.get())) e->visible = e.get() == &window;
        oe::Recorder_Clear();
        oe::Input_SetReader(oe::InputReader::Frame);
        Gui_UpdateAll();
        oe::Input_EndTurn(oe::InputReader::Frame);
        for (const auto& e : element_list) {
            if (e->parent != int32_t(w) || !e->visible || e->caption.empty()) continue;
            if (!dynamic_cast<Ibutton*>(e.get()) && !dynamic_cast<Icheckbox*>(e.get())) continue;
            const double left = window.x + e->x, right = left + e->w;
            const double width = Text_GetWidth(game.main_font, e->caption, 1.0f, 0.0f);
            bool inside = false;
            for (const auto& c : oe::Recorder_Calls())
                if (c.name == "Text_Draw" && c.text == e->caption && c.args[0] >= left &&
                    c.args[0] + width * c.args[2] <= right + 0.5)
                    inside = true;
            EXPECT_TRUE(inside) << e->name << " \"" << e->caption << "\" in " << window.name;
            ++checked;
        }
    }
    EXPECT_GT(checked, 50);
}

TEST_F(ScreenBuilder, ARebuildReplacesTheListInsteadOfAddingToIt) {
    Named("wnd_menu").visible = 1;
    Screens_Build();
    EXPECT_EQ(element_list.size(), 138u);
    EXPECT_EQ(ShownWindows(), std::vector<std::string>{"wnd_pr"});
}

TEST_F(ScreenBuilder, WithoutProfilesOrObjectListTheListsAreEmpty) {
    std::filesystem::remove_all(dir_ / "prf");
    std::filesystem::remove_all(dir_ / "gfx");   // the link (or linked tree), not the assets
    Screens_Build();
    EXPECT_EQ(element_list.size(), 138u);
    EXPECT_EQ(Element_As<Ilist>(Element_Find("lst_pr")).items.count, 0);
    EXPECT_EQ(Element_As<Ilist>(Element_Find("lst_items")).items.count, 0);
}

// Every handle the game uses finds its element in the list the builder makes;
// a name the list lacks is reported and gets a stand-in outside the list.
TEST_F(ScreenBuilder, HandlesFindTheirElementsAndReportAMissingName) {
    Screens_Build();
    EXPECT_TRUE(Screens_Resolve().empty());
    const auto listed = [](const ielement* e) {
        return std::any_of(element_list.begin(), element_list.end(), [e](const auto& o) { return o.get() == e; });
    };
    EXPECT_TRUE(listed(screens.wnd_pause) && listed(screens.free_car.lock) && listed(screens.edt_col));
    EXPECT_EQ(screens.free_car.lock->name, "img_locktr2");
    EXPECT_EQ(screens.lst_pr, &Element_As<Ilist>(Element_Find("lst_pr")));

    Named("wnd_pause").name = "renamed";
    EXPECT_EQ(Screens_Resolve(), std::vector<std::string>{"wnd_pause"});
    EXPECT_FALSE(listed(screens.wnd_pause));
    EXPECT_EQ(screens.wnd_pause->visible, 0);
}

}  // namespace
