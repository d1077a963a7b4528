#include "app/tick.h"

#include <cmath>

#include "app/globals.h"
#include "assets/soundbase.h"
#include "editor/editor.h"
#include "ui/element.h"
#include "world/particles.h"
#include "world/physics.h"
#include "world/race_rules.h"
#include "world/view.h"

namespace {

void RaceTick() {
    if (ambient_off == 0) SndBase_Play(sound_registry, "amb", false);
    // The rest of this tick still runs after Escape.
    if (Key_Down(OE_KEY_ESCAPE)) {
        SndBase_Stop(sound_registry, "amb");
        Element_At(Element_Find("wnd_pause")).visible = 1;
        game_state = STATE_PAUSED;
    }
    current_time = U_GetTime();
    Bonus_Spawn(world_map);
    // The cars stand while the countdown runs.
    if (std::abs(current_time - race_start_time) > 4000) Race_Update(world_map);
    Particles_Update(particle_system);
    World_RefreshDrawList();
}

void MenuTick() { menu_counter += 4; }

void FinishedTick() {
    SndBase_Stop(sound_registry, "amb");
    World_RefreshDrawList();
}

}  // namespace

void GameTick() {
    mouse_x = Mouse_X();
    mouse_y = Mouse_Y();
    switch (game_state) {
        case STATE_RACE: RaceTick(); break;
        case STATE_MENU: MenuTick(); break;
        case STATE_FINISHED: FinishedTick(); break;
        case STATE_PAUSED: World_RefreshDrawList(); break;
        case STATE_EDITOR: Editor_Tick(); break;
        default: break;
    }
    // Both keys act in every state, on every tick while held.
    if (Key_Down(OE_KEY_F12)) game_state = STATE_EDITOR;
    if (Key_Down(OE_KEY_F11)) game_state = STATE_MENU;
}
