// contact_grid.h: the collision test between a mover and another object, and
// a uniform grid that finds the objects a mover can touch, so that a car or a
// pushing prop tests its neighbours instead of the whole map.
#pragma once

#include <cstdint>
#include <vector>

#include "world/tuning.h"
#include "world/world.h"

struct Contact {
    bool touching = false;
    double overlap = 0.0;
};

// Centres a quarter of the height above the bases; a mover reaches twice its
// own radius plus the other's.
Contact Contact_Touch(const tminimal& mover, const tminimal& other);

// Every object of a map but the land tiles, filed by its base point in square
// cells; the few too large for the cells are kept aside and always offered.
// Built from the map, then told of every move; a removal shifts the indices
// and needs a new Build.
class ContactGrid {
public:
    void Build(const tworld& map);
    // Object `index` of the map has moved: files it where it stands now.
    void Moved(const tworld& map, int32_t index);
    // The indices above `after`, ascending, of every object that `mover`
    // touches or could take as a bonus where it stands now, and perhaps a few
    // more; none twice.
    void Near(const tminimal& mover, int32_t after, std::vector<int32_t>& out) const;

private:
    int32_t CellAt(int64_t x, int64_t y) const;
    int64_t Column(int64_t x) const;
    int64_t Row(int64_t y) const;

    int64_t origin_x_ = 0;
    int64_t origin_y_ = 0;
    int64_t cell_size_ = 1;
    int64_t columns_ = 0;
    int64_t rows_ = 0;
    std::vector<std::vector<int32_t>> cells_;   // ascending indices in each cell
    std::vector<int32_t> cell_of_;              // by index: its cell, or below 0 when not filed
    std::vector<int32_t> large_;                // ascending
    // Over the filed objects: the largest radius and the range of height div 4,
    // which set how far from a mover a touchable base can lie.
    int64_t max_radius_ = 0;
    int64_t min_lift_ = 0;
    int64_t max_lift_ = 0;
};
