#include "editor/editor_draw.h"

#include <algorithm>
#include <string>

#include "assets/texbase.h"
#include "core/state.h"
#include "ui/screens.h"

void DrawWaypoints(const tworld& map) {
    game.main_camera->enabled = 1;
    const int32_t count = std::clamp(map.waypoint_count, 0, WORLD_CAPACITY);
    for (int32_t i = 0; i < count; ++i) {
        const tcorner& w = map.waypoints[i];
        Pr2D_Circle(w.x, w.y, 120, 0x00FF00, 255, 32, 0);
        Text_Draw(game.main_font, w.x - 5, w.y - 5, std::to_string(i), 1.0f, 0, 255, 0xFFFFFF);
    }
    game.main_camera->enabled = 0;
}

void DrawPlacementPreview() {
    if (!Key_Down(OE_KEY_SHIFT)) return;
    const TF_list& items = screens.lst_items->items;
    if (items.count <= 0) return;
    const OE_Texture texture = TexBase_Find(object_registry, items.names[0] + "1");
    if (!texture) return;
    // The live mouse, not the tick's copy, so the preview follows every frame.
    const int32_t x = (Mouse_X() / 8) * 8 + 4 - texture->width / 2;
    const int32_t y = (Mouse_Y() / 8) * 8 + 4 - texture->height;
    SSprite_Draw(texture, x, y, texture->width, texture->height, 255, 0, 1);
}

void DrawFrameRate() { Text_Draw(game.main_font, 0, 0, std::to_string(OE_GetFPS()), 1.0f, 0, 255, 0xFFFFFF); }
