// screen_keys.cpp: each window's back and confirming controls and its pairs.
#include "ui/screen_keys.h"

#include <cstdint>

#include "ui/actions_profile.h"
#include "ui/element.h"
#include "ui/focus.h"

namespace {

// The child of `window` named `name`: names repeat across windows ("btn_coa2"
// is a result window's "Continue" and the pause window's "Exit to Menu") but
// never within one. -1 when there is none.
int32_t Child(int32_t window, const char* name) {
    for (int32_t i = window + 1; i < static_cast<int32_t>(element_list.size()); ++i) {
        const ielement& e = *element_list[i];
        if (e.relative == 0) break;
        if (e.parent == window && e.name == name) return i;
    }
    return -1;
}

struct WindowRow {
    const char* window;
    const char* back;      // Escape and B; null: none
    const char* confirm;   // Start, and Enter on a list box; null: none
};

// The main menu and the editor's panel have no way back: Escape does nothing there.
constexpr WindowRow kWindows[] = {
    {"wnd_pr", "btn_prbb", nullptr},
    {"wnd_pr_cr", nullptr, "btn_pr_cr_ac"},
    {"wnd_pr_ld", nullptr, "btn_pr_ld_ac"},
    {"wnd_tour", "btn_bk", "btn_start_tr"},
    {"wnd_opt", "btn_bk22", "btn_acc"},
    {"wnd_sr", "btn_bk3", "btn_start_tr2"},
    {"wnd_fin_good", "btn_co", "btn_co"},
    {"wnd_fin_bad", "btn_coa", "btn_coa"},
    {"wnd_fin_good2", "btn_co2", "btn_co2"},
    {"wnd_fin_bad2", "btn_coa2", "btn_coa2"},
    {"wnd_pause", "btn_res", "btn_res"},
    {"wnd_help", "btn_bk21", nullptr},
};

struct PairRow {
    const char* window;
    const char* prev;
    const char* next;
};

constexpr PairRow kPairs[] = {
    {"wnd_tour", "btn_car_dn", "btn_car_up"},   {"wnd_tour", "btn_col_dn", "btn_col_up"},
    {"wnd_sr", "btn_car_dn2", "btn_car_up2"},   {"wnd_sr", "btn_col_dn2", "btn_col_up2"},
    {"wnd_sr", "btn_cus_dn", "btn_cus_up"},
};

}  // namespace

void ScreenKeys_Set() {
    Focus_Reset();
    for (const WindowRow& row : kWindows) {
        const int32_t window = Element_Find(row.window);
        if (row.back) Focus_SetBack(window, Child(window, row.back));
        if (row.confirm) Focus_SetConfirm(window, Child(window, row.confirm));
    }
    // The profile dialogs have no control that leads back: Escape returns to
    // the profile choice that opened them.
    for (const char* dialog : {"wnd_pr_cr", "wnd_pr_ld"}) Focus_SetBackAction(Element_Find(dialog), act_profile_choice);
    for (const PairRow& row : kPairs) {
        const int32_t window = Element_Find(row.window);
        Focus_AddPair(Child(window, row.prev), Child(window, row.next));
    }
}
