#include "app/frame.h"

#include <algorithm>

#include "app/hud.h"
#include "app/leave_warning.h"
#include "app/results.h"
#include "app/track_records.h"
#include "assets/texbase.h"
#include "core/notice.h"
#include "core/state.h"
#include "editor/editor_draw.h"
#include "ui/focus.h"
#include "ui/screens.h"
#include "world/particles.h"
#include "world/render.h"
#include "world/tournament.h"
#include "world/tween.h"
#include "world/world.h"

namespace {

// The world's backdrop in the race and the editor.
void DrawBackground() { Pr2D_Rect(0, 0, 800, 600, 0x444422, 255, 1); }

// Set after the interface pass, so the pictures turn in the next frame.
void SetMenuImageAngles() {
    screens.img_sh1->angle = game.menu_counter;
    screens.img_sh3->angle = game.menu_counter + 45;
    screens.img_sh2->angle = 95 - game.menu_counter;
}

// What failed, on a dark band at the foot of the screen, in every state.
void DrawNotice() {
    const std::string& text = Notice_Current(U_GetTime());
    if (text.empty()) return;
    const int width = Text_GetWidth(game.main_font, text, 1.0f, 0);
    const float scale = width > 760 ? 760.0f / static_cast<float>(width) : 1.0f;
    Pr2D_Rect(0, 548, 800, 40, 0x000000, 192, 1);
    Text_Draw(game.main_font, 400 - width * scale / 2, 552, text, scale, 0, 255, 0xFFCC66);
}

}  // namespace

void DrawCursor() {
    SSprite_Draw(TexBase_Find(share_registry, "g_cur"), game.mouse_x - 16, game.mouse_y - 8, 64, 64, 255, 0, 1);
}

void DrawFrame() {
    switch (game.state) {
        case STATE_RACE: {
            const float progress = OE_TickProgress();
            const Tween_Camera camera(progress);
            DrawBackground();
            DrawWorld(draw_list, progress);
            DrawParticles(particle_system, progress);
            SSprite_Draw(TexBase_Find(share_registry, "g_wh"), 0, 0, 128, 128, 255, 0, 1);
            DrawMinimap(world_map);
            DrawCountdown(world_map);
            DrawLapCounter();
            DrawBonusPanel();
            DrawScore();
            DrawPosition(world_map);
            DrawStandings(world_map);
            DrawMissedCheckpoint();
            DrawTimes();
            break;
        }
        case STATE_EDITOR:
            DrawBackground();
            DrawWorld(draw_list);
            DrawParticles(particle_system);
            if (screens.chk_wp->ticked) DrawWaypoints(world_map);
            DrawFrameRate();
            Focus_InterfacePass();
            DrawPlacementPreview();
            DrawCursor();
            break;
        case STATE_FINISHED:
        case STATE_PAUSED:
            DrawWorld(draw_list);
            Focus_InterfacePass();
            if (game.state == STATE_FINISHED) DrawResults(world_map);
            if (game.state == STATE_PAUSED) DrawLeaveWarning();
            DrawCursor();
            break;
        case STATE_PROFILES:
            SSprite_Draw(TexBase_Find(share_registry, "g_wnd"), 0, 0, 800, 600, 64, 0, 1);
            Focus_InterfacePass();
            DrawCursor();
            break;
        case STATE_MENU:
            Focus_InterfacePass();
            SetMenuImageAngles();
            DrawParticles(particle_system);
            DrawCursor();
            break;
        case STATE_TOURNAMENT:
            Focus_InterfacePass();
            if (player.progress < PROGRESS_CUP_WON) DrawTrackRecord(track_files[player.progress], 240, 372);
            DrawParticles(particle_system);
            DrawCursor();
            break;
        case STATE_FREE_RACE:
            Focus_InterfacePass();
            DrawTrackRecord(track_files[std::clamp(player.free_track, 0, TOURNAMENT_TRACKS - 1)], 240, 372);
            DrawCursor();
            break;
        case STATE_OPTIONS:
        case STATE_HELP:
            Focus_InterfacePass();
            DrawCursor();
            break;
        default:
            return;
    }
    DrawNotice();
}
