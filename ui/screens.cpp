// screens.cpp: the screen builder. Each call below is one row of the screen
// tables: name, caption, x, y, w, h (children relative to their window),
// visible, then what is set after creation.
#include "ui/screens.h"

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "assets/soundbase.h"
#include "assets/texbase.h"
#include "core/state.h"
#include "ui/actions.h"
#include "ui/actions_profile.h"
#include "ui/actions_race.h"
#include "ui/display_widgets.h"
#include "ui/input_widgets.h"
#include "ui/player_profile.h"
#include "ui/screen_keys.h"
#include "world/world.h"

namespace {

// Adds a widget, then finds it again by name: the fields set after creation
// go to the element the name finds, which is the one just added.
template <class T>
T& Add(const char* name, const char* caption, int32_t x, int32_t y, int32_t w, int32_t h, uint8_t visible) {
    Element_Add(std::make_unique<T>(name, x, y, w, h, caption, visible));
    return Element_As<T>(Element_Find(name));
}

// A window; the elements that follow belong to it. No window can be dragged.
void Window(const char* name, const char* caption, int32_t x, int32_t y, int32_t w, int32_t h, uint8_t visible) {
    Add<Iwindow>(name, caption, x, y, w, h, visible).fixed = 1;
    Gui_SetParentToLast();
}

void Button(const char* name, const char* caption, int32_t x, int32_t y, int32_t w, int32_t h, uint8_t visible,
            OE_Procedure action) {
    Add<Ibutton>(name, caption, x, y, w, h, visible).action = action;
}

void Text(const char* name, const char* caption, int32_t x, int32_t y, int32_t w, int32_t h, uint8_t visible) {
    Add<Itext>(name, caption, x, y, w, h, visible);
}

void Check(const char* name, const char* caption, int32_t x, int32_t y, int32_t w, int32_t h, uint8_t visible,
           OE_Procedure action) {
    Add<Icheckbox>(name, caption, x, y, w, h, visible).action = action;
}

Iimage& Image(const char* name, int32_t x, int32_t y, int32_t w, int32_t h, uint8_t visible, OE_Texture texture) {
    Iimage& image = Add<Iimage>(name, "", x, y, w, h, visible);
    image.texture = texture;
    return image;
}

OE_Texture Share(const char* name) { return TexBase_Find(share_registry, name); }

// A layer of the chosen car kind's preview: "_wh10" the body, "_tp10" the top.
OE_Texture CarLayer(const char* layer) {
    return TexBase_Find(object_registry, car_kind_names[player.car_kind] + layer);
}

// The car and colour choice of the tournament and free-race screens; the
// free-race elements' names end in "2".
void CarAndColourPicker(const std::string& suffix) {
    auto name = [&suffix](const char* base) { return std::string(base) + suffix; };
    Text(name("lb1").c_str(), "Select your car", 592, 90, 64, 64, 1);
    Text(name("lb1").c_str(), "Select your color", 592, 220, 64, 64, 1);
    Image(name("img_car_wh").c_str(), 600, 150, 64, 64, 1, CarLayer("_wh10"));
    Image(name("img_car_tp").c_str(), 600, 150, 64, 64, 1, CarLayer("_tp10")).tinted = 1;
    Image(name("img_locktr").c_str(), 600, 150, 64, 64, 0, Share("lock"));
    Button(name("btn_car_up").c_str(), "Next", 660, 150, 100, 64, 1, act_next_car);
    Button(name("btn_car_dn").c_str(), "Prev", 500, 150, 100, 64, 1, act_prev_car);
    Image(name("img_color").c_str(), 599, 280, 64, 64, 1, Share("color")).tinted = 1;
    Button(name("btn_col_up").c_str(), "Next", 660, 280, 100, 64, 1, act_next_colour);
    Button(name("btn_col_dn").c_str(), "Prev", 500, 280, 100, 64, 1, act_prev_colour);
}

void BuildEditorPanel() {
    Window("wnd_main", "Map Editor", 650, 0, 150, 600, 0);
    Add<Iedit>("edt_save", "test", 10, 40, 80, 40, 1);
    Button("btn_save", "Save", 100, 40, 45, 40, 1, act_editor_save);
    Add<Iedit>("edt_load", "test", 10, 90, 80, 40, 1);
    Button("btn_load", "Load", 100, 90, 45, 40, 1, act_editor_load);
    Ilist& items = Add<Ilist>("lst_items", "items", 10, 140, 130, 300, 1);
    items.items = FList_FromTextFile("gfx\\obj\\list.txt");
    items.one_size = 1;   // a list of names reads best at one size
    Check("chk_ai", "AI Enable", 10, 460, 80, 20, 1, nullptr);
    Check("chk_dyn", "Dynamic", 10, 490, 80, 20, 1, nullptr);
    Check("chk_wp", "Way", 100, 460, 45, 20, 1, nullptr);
    Button("btn_dwp", "Undo", 100, 490, 45, 20, 1, act_editor_undo_waypoint);
    Add<Iedit>("edt_col", "$111111", 10, 540, 130, 40, 1);
}

void BuildMainMenu() {
    Window("wnd_menu", "", 0, 0, 800, 600, 0);
    Image("img_tit", 0, 0, 800, 256, 1, Share("g_tit"));
    Image("img_sh1", 544, 344, 256, 256, 1, Share("g_sh"));
    Image("img_sh2", 412, 196, 256, 256, 1, Share("g_sh"));
    Image("img_sh3", -256, 344, 512, 512, 1, Share("g_sh"));
    Image("img_wh", 560, 32, 256, 256, 1, Share("g_wh"));
    Image("img_tr", 40, 170, 128, 128, 1, Share("g_tr"));
    Button("btn_tr", "Tournament", 160, 200, 160, 64, 1, act_tournament);
    Button("btn_more", "More Games", 190, 250, 160, 64, 1, act_open_more_games);
    Image("img_sr", 100, 270, 128, 128, 1, Share("g_sr"));
    Button("btn_sr", "Free Race", 230, 300, 160, 64, 1, act_free_race);
    Button("btn_tell", "Tell a Friend", 260, 350, 160, 64, 1, act_open_tell_a_friend);
    Image("img_op", 160, 370, 128, 128, 1, Share("g_op"));
    Button("btn_op", "Options", 290, 400, 160, 64, 1, act_options);
    Button("btn_tell", "Subscribe", 320, 450, 160, 64, 1, act_open_subscribe);
    Image("img_op33", 320, 465, 160, 65, 1, Share("ann"));
    Image("img_qt", 220, 470, 128, 128, 1, Share("g_qt"));
    Button("btn_qt", "Quit", 350, 500, 160, 64, 1, act_quit);
    Button("btn_pr", "Change profile", 410, 130, 180, 64, 1, act_change_profile);
    Button("btn_hlp", "Help", 660, 280, 120, 64, 1, act_help);
    Text("lb_hello", ("Hello, " + player.name).c_str(), 200, 140, 64, 64, 1);
    Iimage& logo = Image("img_logo", 0, 536, 215, 64, 1, Share("logo2"));
    logo.clickable = 1;
    logo.action = act_open_website;
    Image("img_logo21", 544, 504, 256, 128, 1, Share("vemko"));
}

void BuildProfileDialogs() {
    Window("wnd_pr", "Profile", 200, 150, 400, 300, 1);
    Button("btn_pr_cr", "Create new profile", 50, 60, 300, 64, 1, act_new_profile);
    Button("btn_pr_ld", "Load existing", 50, 130, 300, 64, 1, act_pick_profile);
    Button("btn_prbb", "Back to Menu", 50, 200, 300, 64, 1, act_back_to_menu);

    Window("wnd_pr_cr", "Create profile", 200, 150, 400, 300, 0);
    Add<Iedit>("edt_pr_cr", "Player", 50, 80, 300, 64, 1);
    Button("btn_pr_cr_ac", "Accept", 50, 180, 300, 64, 1, act_create_profile);

    Window("wnd_pr_ld", "Load profile", 200, 150, 400, 300, 0);
    Ilist& profiles = Add<Ilist>("lst_pr", "Select", 50, 60, 230, 128, 1);
    profiles.items = Profile_List();
    profiles.no_buttons = 1;
    Button("btn_lst_up", "Up", 286, 60, 64, 64, 1, act_profile_list_up);
    Button("btn_lst_dn", "Down", 286, 124, 64, 64, 1, act_profile_list_down);
    Button("btn_pr_ld_ac", "Accept", 50, 200, 300, 64, 1, act_load_profile);
}

void BuildTournament() {
    Window("wnd_tour", "Tournament", 0, 0, 800, 600, 0);
    Image("img_track", 40, 60, 400, 300, 1, Share("t0"));
    CarAndColourPicker("");
    Button("btn_bk", "Back to Menu", 40, 500, 180, 64, 1, act_back_to_menu);
    Button("btn_start_tr", "Start Race!", 600, 500, 160, 64, 1, act_start_tournament_race);
    Button("btn_pow", "medium", 400, 500, 160, 64, 1, act_difficulty);
    Text("lb_diffff", "Difficulty", 340, 530, 0, 0, 1);
    Button("btn_send", "More Games", 600, 500, 160, 64, 0, act_open_more_games);
    Text("lb_ccc", "", 400, 460, 0, 0, 1);
    Text("lb_cccscr", "lkj", 400, 430, 0, 0, 1);
    Text("lb_ctrack", "Track", 128, 330, 0, 0, 1);
}

void BuildOptions() {
    Window("wnd_opt", "Options", 0, 0, 800, 600, 0);
    Image("img_shss", 544, 344, 256, 256, 1, Share("g_sh"));
    Text("txt_dm", "Display Mode", 80, 140, 180, 40, 1);
    Check("chk_fs", "Fullscreen", 280, 140, 180, 40, 1, act_fullscreen);
    Check("chk_wd", "Windowed", 480, 140, 180, 40, 1, act_windowed);
    Text("txt_am", "Ambient Sounds", 80, 220, 180, 40, 1);
    Check("chk_ame", "Enabled", 280, 220, 180, 40, 1, act_ambient_on);
    Check("chk_amd", "Disabled", 480, 220, 180, 40, 1, act_ambient_off);
    Text("txt_mm", "Music in Menu", 80, 300, 180, 40, 1);
    Check("chk_mme", "Enabled", 280, 300, 180, 40, 1, act_music_on);
    Check("chk_mmd", "Disabled", 480, 300, 180, 40, 1, act_music_off);
    Text("txt_ct", "Country", 80, 390, 180, 40, 0);
    Add<Iedit>("edt_ct", "", 280, 380, 220, 64, 0);
    Button("btn_bk22", "Back to Menu", 40, 500, 180, 64, 1, act_back_to_menu);
    Button("btn_acc", "Accept", 240, 500, 180, 64, 1, act_accept_options);
}

void BuildFreeRace() {
    Window("wnd_sr", "Free Race", 0, 0, 800, 600, 0);
    Image("img_track2", 40, 60, 400, 300, 1, Share("t0"));
    Add<Ilabel>("txt_locktr_map2", "This track is locked", 40, 60, 400, 300, 0);
    CarAndColourPicker("2");
    Button("btn_cus_up", "Next Track", 260, 400, 180, 64, 1, act_next_track);
    Button("btn_cus_dn", "Prev Track", 40, 400, 180, 64, 1, act_prev_track);
    Button("btn_pow2", "medium", 400, 500, 160, 64, 1, act_difficulty);
    Text("lb_diffff", "Difficulty", 340, 530, 0, 0, 1);
    Button("btn_start_tr2", "Start Race!", 600, 500, 160, 64, 1, act_start_free_race);
    Text("lb_ctrack2", "Track", 128, 330, 0, 0, 1);
    Button("btn_bk3", "Back to Menu", 40, 500, 180, 64, 1, act_back_to_menu);
}

// A result window: a picture, three lines of text and "Continue".
struct ResultWindow {
    const char* window;
    const char* image;
    const char* lines[3][2];   // name, caption
    const char* button;
    OE_Procedure action;
};

void BuildResultWindow(const ResultWindow& r) {
    Window(r.window, "Finish", 200, 150, 400, 340, 0);
    Image(r.image, 136, 20, 128, 128, 1, Share("g_qt"));
    for (int i = 0; i < 3; ++i) Text(r.lines[i][0], r.lines[i][1], 200, 140 + 40 * i, 0, 0, 1);
    Button(r.button, "Continue", 120, 250, 160, 64, 1, r.action);
}

void BuildResultWindows() {
    BuildResultWindow({"wnd_fin_good", "img_ff",
                       {{"lb_c1", "Congratulations!!!"}, {"lb_c2", "Now you can advance"}, {"lb_c3", "to the next race!"}},
                       "btn_co", act_tournament});
    BuildResultWindow({"wnd_fin_bad", "img_ffa",
                       {{"lb_c1a", "Not bad..."}, {"lb_c2a", "But you have to finish"}, {"lb_c3a", "the race first."}},
                       "btn_coa", act_tournament});
    BuildResultWindow({"wnd_fin_good2", "img_ff2",
                       {{"lb_c12", "Congratulations!!!"}, {"lb_c22", "You have finished"}, {"lb_c32", "first!"}},
                       "btn_co2", act_free_race});
    BuildResultWindow({"wnd_fin_bad2", "img_ffa2",
                       {{"lb_c1a2", "Not bad..."}, {"lb_c2a2", "But you have to finish"}, {"lb_c3a2", "the race first."}},
                       "btn_coa2", act_free_race});
}

void BuildPauseAndHelp() {
    Window("wnd_pause", "Pause", 200, 150, 400, 340, 0);
    Image("img_cc", 136, 40, 128, 128, 1, Share("g_sr"));
    Button("btn_res", "Resume", 100, 180, 200, 64, 1, act_resume);
    Button("btn_coa2", "Exit to Menu", 100, 250, 200, 64, 1, act_back_to_menu);

    Window("wnd_help", "Help", 0, 0, 800, 600, 0);
    Button("btn_bk21", "Back to Menu", 40, 500, 180, 64, 1, act_back_to_menu);
    Button("btn_ov", "Overview", 250, 500, 160, 64, 1, act_help_overview);
    Button("btn_ctr", "Controls", 430, 500, 160, 64, 1, act_help_controls);
    Image("img_ttt", 64, 64, 512, 256, 1, Share("g_tit"));
    Image("img_shs1", 480, 64, 256, 256, 1, Share("g_sh"));
    Image("img_h1", 0, 150, 800, 364, 1, Share("help1"));
    Image("img_h2", 9, 151, 800, 364, 0, Share("help2"));
    Image("img_h3", 0, 150, 800, 364, 0, Share("help2"));
}

// The toolkit's style, in this order once the elements exist.
void FinishStyle() {
    Gui_SetHighlightColour(0x000000);
    gui.click_sound = SndBase_Find(sound_registry, "click");
    gui.hover_sound = SndBase_Find(sound_registry, "select");
    Snd_SetBuffersCount(gui.click_sound, 4);
    Snd_SetBuffersCount(gui.hover_sound, 4);
    Gui_SetTextColour(0xFFFFFF);
    Gui_SetButtonTextColour(0xFFFFFF);
    Gui_SetWindowSkin(Share("g_wnd"));
    Gui_SetButtonSkin(Share("g_but"));
}

// Stand-ins for handles whose element is missing, outside the element list:
// hidden, never drawn, one for each handle so none reads another's state.
std::vector<std::unique_ptr<ielement>> spares;

// Points `handle` at the last element named `name` when it is of the handle's
// class; otherwise at a fresh stand-in of that class, and notes the name.
template <class T>
void Resolve(T*& handle, const std::string& name, std::vector<std::string>& missing) {
    ielement& found = Element_At(Element_Find(name));
    handle = found.name == name ? dynamic_cast<T*>(&found) : nullptr;
    if (handle) return;
    missing.push_back(name);
    auto spare = std::make_unique<T>(name, 0, 0, 0, 0, "", 0);
    handle = spare.get();
    spares.push_back(std::move(spare));
}

void ResolvePicker(tcar_picker& picker, const std::string& suffix, std::vector<std::string>& missing) {
    Resolve(picker.body, "img_car_wh" + suffix, missing);
    Resolve(picker.top, "img_car_tp" + suffix, missing);
    Resolve(picker.lock, "img_locktr" + suffix, missing);
    Resolve(picker.colour, "img_color" + suffix, missing);
}

}  // namespace

tscreens screens;

std::vector<std::string> Screens_Resolve() {
    std::vector<std::string> missing;
    // Every handle is pointed anew below, so the old stand-ins can go.
    spares.clear();
    tscreens& s = screens;
    for (auto [handle, name] : {std::pair{&s.wnd_main, "wnd_main"}, {&s.wnd_menu, "wnd_menu"}, {&s.wnd_pr, "wnd_pr"},
                                {&s.wnd_pr_cr, "wnd_pr_cr"}, {&s.wnd_pr_ld, "wnd_pr_ld"}, {&s.wnd_tour, "wnd_tour"},
                                {&s.wnd_opt, "wnd_opt"}, {&s.wnd_sr, "wnd_sr"}, {&s.wnd_fin_good, "wnd_fin_good"},
                                {&s.wnd_fin_bad, "wnd_fin_bad"}, {&s.wnd_fin_good2, "wnd_fin_good2"},
                                {&s.wnd_fin_bad2, "wnd_fin_bad2"}, {&s.wnd_pause, "wnd_pause"}, {&s.wnd_help, "wnd_help"}})
        Resolve(*handle, name, missing);
    for (auto [handle, name] : {std::pair{&s.chk_ai, "chk_ai"}, {&s.chk_dyn, "chk_dyn"}, {&s.chk_wp, "chk_wp"},
                                {&s.chk_fs, "chk_fs"}, {&s.chk_wd, "chk_wd"}, {&s.chk_ame, "chk_ame"},
                                {&s.chk_amd, "chk_amd"}, {&s.chk_mme, "chk_mme"}, {&s.chk_mmd, "chk_mmd"}})
        Resolve(*handle, name, missing);
    for (auto [handle, name] : {std::pair{&s.edt_save, "edt_save"}, {&s.edt_load, "edt_load"},
                                {&s.edt_col, "edt_col"}, {&s.edt_pr_cr, "edt_pr_cr"}, {&s.edt_ct, "edt_ct"}})
        Resolve(*handle, name, missing);
    for (auto [handle, name] : {std::pair{&s.img_sh1, "img_sh1"}, {&s.img_sh2, "img_sh2"}, {&s.img_sh3, "img_sh3"},
                                {&s.img_track, "img_track"}, {&s.img_track2, "img_track2"}, {&s.img_h1, "img_h1"},
                                {&s.img_h2, "img_h2"}, {&s.img_h3, "img_h3"}})
        Resolve(*handle, name, missing);
    for (auto [handle, name] : {std::pair{&s.lb_hello, "lb_hello"}, {&s.lb_ccc, "lb_ccc"},
                                {&s.lb_cccscr, "lb_cccscr"}, {&s.lb_ctrack, "lb_ctrack"}, {&s.lb_ctrack2, "lb_ctrack2"}})
        Resolve(*handle, name, missing);
    for (auto [handle, name] : {std::pair{&s.btn_start_tr, "btn_start_tr"}, {&s.btn_pow, "btn_pow"},
                                {&s.btn_send, "btn_send"}, {&s.btn_pow2, "btn_pow2"}})
        Resolve(*handle, name, missing);
    Resolve(s.lst_items, "lst_items", missing);
    Resolve(s.lst_pr, "lst_pr", missing);
    Resolve(s.txt_locktr_map2, "txt_locktr_map2", missing);
    ResolvePicker(s.tour_car, "", missing);
    ResolvePicker(s.free_car, "2", missing);
    return missing;
}

void Screens_Build() {
    element_list.clear();
    gui.parent = 0;
    Gui_SetFont(game.main_font);
    BuildEditorPanel();
    BuildMainMenu();
    BuildProfileDialogs();
    BuildTournament();
    BuildOptions();
    BuildFreeRace();
    BuildResultWindows();
    BuildPauseAndHelp();
    FinishStyle();
    ScreenKeys_Set();
    const std::vector<std::string> missing = Screens_Resolve();
    if (missing.empty()) return;
    std::fprintf(stderr, "korvamo: no element of the right class for the screen handle \"%s\"\n", missing[0].c_str());
    std::abort();
}
