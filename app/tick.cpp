#include "app/tick.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>

#include "app/result_texts.h"
#include "app/track_records.h"
#include "assets/soundbase.h"
#include "assets/texbase.h"
#include "core/random.h"
#include "core/state.h"
#include "editor/editor.h"
#include "music/modplayer.h"
#include "ui/actions.h"
#include "ui/player_profile.h"
#include "ui/screens.h"
#include "world/particles.h"
#include "world/physics.h"
#include "world/race_events.h"
#include "world/race_rules.h"
#include "world/race_timing.h"
#include "world/tournament.h"
#include "world/tween.h"
#include "world/view.h"

namespace {

void RaceTick() {
    Music_Stop();
    if (options.ambient_off == 0) SndBase_Play(sound_registry, "amb", false);
    // Escape or the pad's Start pauses; the rest of this tick still runs. Only
    // a new press counts and it is used up here, so the press that resumed the
    // race cannot pause it again and the pause window does not take it as its own.
    if (Key_Press(OE_KEY_ESCAPE) || Key_Press(OE_KEY_PAD_START)) {
        Key_Consume(OE_KEY_ESCAPE);
        Key_Consume(OE_KEY_PAD_START);
        SndBase_Stop(sound_registry, "amb");
        screens.wnd_pause->visible = 1;
        game.state = STATE_PAUSED;
    }
    game.current_time = U_GetTime();
    Tween_Remember(world_map);
    Bonus_Spawn(world_map);
    // The cars stand while the countdown runs.
    if (std::abs(game.current_time - game.race_start_time) > COUNTDOWN_MS) Race_Step(world_map);
    Particles_Update(particle_system);
    World_RefreshDrawList();
}

// A spark flying up from (x, y). The random numbers are drawn in argument
// order, a random colour last.
void EmitSpark(float x, float y, int32_t min_size, std::optional<int32_t> colour) {
    const int32_t vx = random(10) - 5;
    const int32_t vy = -random(10) - 5;
    const int32_t size = random(30) + min_size;
    Particles_Emit(particle_system, "light", 4, x, y, vx, vy, size, colour ? *colour : random(2147483647));
}

void MenuTick() {
    game.menu_counter += 4;
    screens.lb_hello->caption = "Hello, " + player.name;
    Particles_Update(particle_system);
    EmitSpark(100, 170, 20, 0xFFFF);
}

// The chosen car kind in the chosen colour on a screen's preview images, and
// its lock while it is not open yet.
void ShowCarPreview(const tcar_picker& picker) {
    picker.lock->visible = !Profile_CarUnlocked(player.car_kind);
    const std::string& kind = car_kind_names[player.car_kind];
    const int32_t colour = car_colours[player.car_colour];
    picker.body->texture = TexBase_Find(object_registry, kind + "_wh10");
    picker.top->texture = TexBase_Find(object_registry, kind + "_tp10");
    picker.top->tint = colour;
    picker.colour->tint = colour;
}

// A firework at (x, y): its bang, panned, and twenty sparks of random colours.
void Firework(int32_t x, int32_t y) {
    SndBase_PlayEx(sound_registry, "fw", x - 400, 0, false, 0);
    for (int i = 0; i < 20; ++i) EmitSpark(x, y, 20 + y / 50, std::nullopt);
}

void TournamentTick() {
    Particles_Update(particle_system);
    screens.lb_cccscr->caption = "Your score is " + std::to_string(player.score);
    screens.lb_ctrack->caption = track_names[std::clamp(player.progress, 0, TOURNAMENT_TRACKS - 1)];
    screens.lb_ctrack->visible = player.progress < PROGRESS_CUP_WON;
    if (player.progress >= PROGRESS_CUP_WON) {
        // Every track won: the winner's caption and fireworks.
        screens.lb_ccc->caption = "Congratulations!!! You are the Winner!!!";
        EmitSpark(240, 70, 50, 0xFFFF);
        const int32_t l = random(800);
        const int32_t m = random(600);
        if (random(5) == 1) Firework(l, m);
    } else {
        screens.lb_ccc->caption = group_texts[player.progress / TRACKS_PER_GROUP];
    }
    ShowCarPreview(screens.tour_car);
}

void FreeRaceTick() {
    screens.txt_locktr_map2->visible = !Profile_TrackUnlocked(player.free_track);
    // The chosen track's picture and name.
    screens.img_track2->texture = TexBase_Find(share_registry, Tournament_TrackPicture(player.free_track));
    ShowCarPreview(screens.free_car);
    screens.lb_ctrack2->caption = track_names[std::clamp(player.free_track, 0, TOURNAMENT_TRACKS - 1)];
}

void FinishedTick() {
    SndBase_Stop(sound_registry, "amb");
    World_RefreshDrawList();
}

}  // namespace

void Race_Step(tworld& map) {
    const double missed_before = race.missed_checkpoint_at;
    const RaceEvents events = Race_Update(map, Race_CameraView());
    RaceTiming_Update(map, game.current_time - Race_ReleaseTime());
    // A new run of skipped waypoints is told by a sound once, not on every tick.
    if (race.missed_checkpoint_at != missed_before &&
        (missed_before < 0 || game.current_time - missed_before > MISSED_CHECKPOINT_MS))
        SndBase_Play(sound_registry, "bad", false);
    Race_PlayEffects(events);
    if (!events.finished) return;
    TrackRecords_TakeRace();
    ResultTexts_Set(map, events.won);
    Iwindow* result = game.race_mode == 0 ? (events.won ? screens.wnd_fin_good : screens.wnd_fin_bad)
                                          : (events.won ? screens.wnd_fin_good2 : screens.wnd_fin_bad2);
    result->visible = 1;
    game.state = STATE_FINISHED;
}

void GameTick() {
    // A level of 0 means no song, or a silent latest block: (re)start the menu song.
    if (Music_Level() == 0 && game.state != STATE_RACE && options.music_off == 0)
        Music_Play("sfx\\menu.xm", 0, MUSIC_FILE);
    game.mouse_x = Mouse_X();
    game.mouse_y = Mouse_Y();
    switch (game.state) {
        case STATE_RACE: RaceTick(); break;
        case STATE_MENU: MenuTick(); break;
        case STATE_TOURNAMENT: TournamentTick(); break;
        case STATE_FREE_RACE: FreeRaceTick(); break;
        case STATE_FINISHED: FinishedTick(); break;
        case STATE_PAUSED: World_RefreshDrawList(); break;
        case STATE_EDITOR: Editor_Tick(); break;
        default: break;
    }
    // Both keys act in every state, on every tick while held.
    if (Key_Down(OE_KEY_F12)) {
        act_back_to_menu();
        screens.wnd_menu->visible = 0;
        screens.wnd_main->visible = 1;
        game.state = STATE_EDITOR;
    }
    if (Key_Down(OE_KEY_F11)) {
        act_back_to_menu();   // first, while a race left this way is still running
        game.state = STATE_MENU;
    }
    // A race is drawn at the display's rate, its cars, camera and smoke on their
    // way between two ticks; the other states change only in ticks and on input.
    OE_SetDrawBetweenTicks(game.state == STATE_RACE);
}
