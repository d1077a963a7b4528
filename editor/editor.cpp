#include "editor/editor.h"

#include <charconv>

#include "assets/texbase.h"
#include "core/state.h"
#include "ui/screens.h"
#include "world/geometry.h"
#include "world/particles.h"
#include "world/view.h"
#include "world/world.h"

namespace {

constexpr int32_t kScrollStep = 16;
constexpr int32_t kScrollMargin = 10;

// Adds the selected item with its bottom centre 4 px right of and below the grid
// point under the mouse. An empty item list or a colour that is not an integer
// places nothing.
void PlaceOnGrid(const std::string& item, int32_t grid) {
    const std::optional<int32_t> colour = Editor_ParseColour(screens.edt_col->caption);
    if (item.empty() || !colour) return;
    const int32_t x = (game.mouse_x / grid) * grid + 4 + game.main_camera->x;
    const int32_t y = (game.mouse_y / grid) * grid + 4 + game.main_camera->y;
    const uint8_t ai = screens.chk_ai->ticked != 0;
    const uint8_t dynamic = screens.chk_dyn->ticked != 0;
    if (World_AddObject(world_map, item, x, y, ai, dynamic, *colour)) Editor_Refresh();
}

}  // namespace

std::optional<int32_t> Editor_ParseColour(std::string_view text) {
    if (text.starts_with('$')) {
        const std::string_view digits = text.substr(1);
        uint32_t pattern = 0;
        const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), pattern, 16);
        if (digits.empty() || error != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
        return static_cast<int32_t>(pattern);
    }
    int32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

void Editor_Refresh() {
    Geo_SetSizes(world_map);
    Geo_CornerColours(world_map);
    Geo_Shadows(world_map, 0);
}

bool Editor_DeleteAt(int32_t x, int32_t y) {
    for (int32_t i = 0; i < std::min(world_map.count, WORLD_CAPACITY); ++i) {
        const tminimal& o = world_map.objects[i];
        const OE_Texture texture = TexBase_Find(object_registry, o.kind);
        const int32_t width = texture ? texture->width : 0;
        if (Col_PointInCircle(x, y, OE_Circle{o.x, o.y, (width + width) / 6})) {
            World_RemoveAt(world_map, i);
            return true;
        }
    }
    return false;
}

void Editor_Input() {
    if (!Key_Down(OE_KEY_SHIFT)) return;
    const TF_list& items = screens.lst_items->items;
    const std::string item = items.count > 0 ? items.names[0] : std::string();
    if (Mouse_Click(1)) {
        if (screens.chk_wp->ticked) {
            World_AddWaypoint(world_map, game.mouse_x + game.main_camera->x, game.mouse_y + game.main_camera->y);
        } else {
            PlaceOnGrid(item, 8);
        }
    }
    const int32_t world_x = game.mouse_x + game.main_camera->x;
    const int32_t world_y = game.mouse_y + game.main_camera->y;
    if (Mouse_Click(0) && Editor_DeleteAt(world_x, world_y)) Editor_Refresh();
    if (Mouse_Down(2)) PlaceOnGrid(item, 32);
}

void Editor_Scroll() {
    const int32_t x = Mouse_X();
    const int32_t y = Mouse_Y();
    if (x < kScrollMargin) game.main_camera->x -= kScrollStep;
    if (x > 800 - kScrollMargin) game.main_camera->x += kScrollStep;
    if (y < kScrollMargin) game.main_camera->y -= kScrollStep;
    if (y > 600 - kScrollMargin) game.main_camera->y += kScrollStep;
}

void Editor_Tick() {
    Editor_Input();
    Particles_Update(particle_system);
    World_RefreshDrawList();
    Editor_Scroll();
    if (Key_Press(OE_KEY_F5)) World_Mirror(world_map);
}
