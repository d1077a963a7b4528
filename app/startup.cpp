#include "app/startup.h"

#include "app/frame.h"
#include "app/settings.h"
#include "app/tick.h"
#include "assets/soundbase.h"
#include "assets/texbase.h"
#include "core/notice.h"
#include "core/random.h"
#include "core/state.h"
#include "ui/actions.h"
#include "ui/player_profile.h"
#include "ui/focus.h"
#include "ui/screens.h"
#include "world/particles.h"
#include "world/race_rules.h"
#include "world/world.h"

void Game_Main() {
    Random_SeedFromClock();
    Actions_SetAcceptOptions(Settings_Accept);
    game.tick_timer = Timer_Create(GameTick, 30, true);
    OE_Enable(4);
    OE_Disable(2);
    OE_RegProcedure(OE_PROC_IDLE, IdleCallback);
    OE_RegProcedure(OE_PROC_LOAD, LoadCallback);
    OE_RegProcedure(OE_PROC_DRAW, DrawFrame);
    OE_RegProcedure(OE_PROC_EXIT, ExitCallback);
    OE_SetWndName("Korvamo");
    OE_SetScreenOptions(800, 600, 16, 0, true, true);
    OE_Init(16, 0);
}

void Game_Reset() {
    State_Reset();
    World_Reset(world_map);
    World_Reset(draw_list);
    particle_system.count = 0;
    share_registry = TBase{};
    object_registry = TBase{};
    sound_registry = TS_List{};
    Gui_Reset();
    Focus_Reset();
    Screens_Resolve();
}

void LoadCallback() {
    OE_SetResolutionDependence(800, 600);
    Snd_Init();
    SndBase_LoadFolder(sound_registry, "sfx\\", "*.wav");
    TexBase_LoadFolder(share_registry, "gfx\\share\\");
    // Hundreds of ground tiles, of which a race draws one theme's.
    TexBase_LoadFolder(object_registry, "gfx\\obj\\", true);
    game.main_font = Text_LoadFontFromFile("fnt\\font.tga", "fnt\\font.ofi", 0xFFFFFFFF, 266);
    if (!game.main_font) Notice_LoadFailed("fnt\\font.tga and fnt\\font.ofi");
    Screens_Build();
    game.main_camera = Cam2D_Create();
    Cam2D_Set(game.main_camera);
    game.state = STATE_PROFILES;
    // With a profile the game starts in the main menu with the last player.
    if (screens.lst_pr->items.count > 0) {
        player.name = "Player";
        game.state = STATE_MENU;
        act_back_to_menu();
        Settings_Load();
        Profile_Load();
    }
    Settings_Load();
}

// Closing the game is no way out of a race: a tournament race left under way
// counts as lost, and a finished one is kept, as if the player had gone on.
void ExitCallback() {
    const bool finished_tournament_race = game.state == STATE_FINISHED && game.race_mode == 0;
    const bool lost_on_leaving = Race_Abandon();
    if (!player.name.empty() && (lost_on_leaving || finished_tournament_race) && !Profile_Save())
        Notice_Failure("Could not save the profile");
    Settings_Save();
}

void IdleCallback() {}
