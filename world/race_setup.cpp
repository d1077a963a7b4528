#include "world/race_setup.h"

#include <algorithm>

#include "core/random.h"
#include "core/state.h"
#include "assets/texbase.h"
#include "engine/fs.h"
#include "world/driver.h"
#include "world/geometry.h"
#include "world/mapfile.h"
#include "world/particles.h"
#include "world/physics.h"
#include "world/surface.h"
#include "world/track_line.h"
#include "world/tuning.h"

namespace {

// A kind that is no car kind drives like the first, the jeep.
int32_t BaseTopSpeed(const std::string& kind) {
    const auto found = std::find(car_kind_names.begin(), car_kind_names.end(), kind);
    return TOP_SPEEDS[found == car_kind_names.end() ? 0 : found - car_kind_names.begin()];
}

// Start values of an object just read from the file.
void SetUpObject(tminimal& o) {
    o.frame = 1.0f;
    o.vx = 0.0f;
    o.vy = 0.0f;
    o.waypoint = 0;
    o.laps = 0;
    o.speed = 0.0f;
    o.driver = tdriver{};   // nothing of the last race's driving, its place on the last line least of all
    for (tcorner& step : o.corner_steps) {
        step.x = random(2) == 1 ? 1 : -1;
        step.y = random(2) == 1 ? -1 : 1;
    }
    // The map marks the player's car as a jeep.
    if (o.kind == "jeep" && o.ai == 0) o.kind = car_kind_names[std::clamp(player.car_kind, 0, 3)];
}

}  // namespace

void World_LoadRace(tworld& world, const std::string& file_name) {
    // The last track's textures give their memory back; this one's come as drawn.
    TexBase_Unload(object_registry);
    if (const auto bytes = Fs_ReadFileHead(file_name, MAP_FILE_MAX_BYTES)) {
        if (game.tick_timer) game.tick_timer->enabled = 0;
        World_Clear(world);
        MapFile_Read(*bytes, world);
        for (int32_t i = 0; i < world.count; ++i) SetUpObject(world.objects[i]);
        Geo_SetSizes(world);
    }
    Geo_SetSizes(world);
    Geo_CornerColours(world);
    Geo_Shadows(world, 0);
    const double now = U_GetTime();
    if (game.tick_timer) {
        game.tick_timer->enabled = 1;
        game.tick_timer->last_run = now;
    }
    game.race_start_time = now;
    TrackLine_Prepare(world);
    Surface_Prepare(world);
    race.camera_lead_x = race.camera_lead_y = 0.0f;
    // One car update places the camera on the player's car. The map was just
    // set up, so no car can have finished.
    Race_PlayEffects(Race_Update(world, Race_CameraView()));
    const int32_t count = std::clamp(world.count, 0, WORLD_CAPACITY);
    for (int32_t i = 0; i < count; ++i) {
        tminimal& o = world.objects[i];
        const int32_t level = std::clamp(player.difficulty, 0, HARDEST_DIFFICULTY);
        const int32_t handicap = o.ai * DRIVER_LEVELS[static_cast<size_t>(level)].top_speed_cut;
        if (IsCarKind(o.kind)) o.top_speed = BaseTopSpeed(o.kind) - handicap;
    }
    Driver_Prepare(world, player.difficulty);
    for (int32_t i = 0; i < count; ++i) {
        tminimal& o = world.objects[i];
        if (!IsCarKind(o.kind)) continue;
        o.frame = world.waypoint_count >= 2 && world.waypoints[1].x > o.x ? 13.0f : 5.0f;
    }
}

void World_StartRace(const std::string& track) {
    Particles_Clear(particle_system);   // no menu sparks over the start
    race.track = track;
    World_Clear(world_map);
    World_LoadRace(world_map, "wld\\" + track + ".wld");
    game.state = STATE_RACE;
}
