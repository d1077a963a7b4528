#include "app/startup.h"

#include "app/frame.h"
#include "app/globals.h"
#include "app/random.h"
#include "app/tick.h"
#include "assets/soundbase.h"
#include "assets/texbase.h"

void Game_Main() {
    Random_SeedFromClock();
    tick_timer = Timer_Create(GameTick, 30, true);
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

void LoadCallback() {
    OE_SetResolutionDependence(800, 600);
    Snd_Init();
    SndBase_LoadFolder(sound_registry, "sfx\\", "*.wav");
    TexBase_LoadFolder(share_registry, "gfx\\share\\");
    TexBase_LoadFolder(object_registry, "gfx\\obj\\");
    main_font = Text_LoadFontFromFile("fnt\\font.tga", "fnt\\font.ofi", 0xFFFFFFFF, 266);
    // The profile list of the profile screens: one file per player in "prf\".
    const TF_list profiles = FList_FromFolder("prf\\*.*");
    main_camera = Cam2D_Create();
    Cam2D_Set(main_camera);
    game_state = STATE_PROFILES;
    if (profiles.count > 0) {
        player_name = "Player";
        game_state = STATE_MENU;
    }
}

void ExitCallback() {}

void IdleCallback() {}
