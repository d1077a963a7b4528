#include "world/contact_grid.h"

#include <algorithm>
#include <limits>

#include "engine/oe.h"

namespace {

// A car's reach is about 50 px: a query then covers a few cells of this side.
constexpr int64_t kCellSize = 64;
// Spread-out maps get larger cells rather than more of them.
constexpr int64_t kMaxCells = 16384;
// Objects whose radius or lift (height div 4) is above this would widen every
// query: they are kept aside instead.
constexpr int64_t kLargestFiled = 64;

constexpr int32_t kLand = -1;
constexpr int32_t kLarge = -2;

int32_t Count(const tworld& map) { return std::clamp(map.count, 0, WORLD_CAPACITY); }

void InsertSorted(std::vector<int32_t>& list, int32_t index) {
    list.insert(std::lower_bound(list.begin(), list.end(), index), index);
}

}  // namespace

Contact Contact_Touch(const tminimal& mover, const tminimal& other) {
    const int64_t reach = int64_t{other.radius} + 2 * int64_t{mover.radius};
    const int64_t dx = int64_t{mover.x} - other.x;
    if (reach <= 0 || dx >= reach || dx <= -reach) return {};
    const int64_t dy = int64_t{mover.y - mover.height / 4} - (other.y - other.height / 4);
    // Whole pixels compare exactly as squares; the root only for a hit.
    if (dy >= reach || dy <= -reach || dx * dx + dy * dy >= reach * reach) return {};
    return {true, static_cast<double>(reach) - M_Distance(static_cast<double>(dx), static_cast<double>(dy), 0, 0)};
}

void ContactGrid::Build(const tworld& map) {
    const int32_t count = Count(map);
    // The cells of the last build, emptied while their numbering still holds.
    for (const int32_t cell : cell_of_)
        if (cell >= 0) cells_[cell].clear();
    cell_of_.assign(count, kLand);
    large_.clear();
    max_radius_ = min_lift_ = max_lift_ = 0;
    int64_t x0 = std::numeric_limits<int64_t>::max(), y0 = x0;
    int64_t x1 = std::numeric_limits<int64_t>::min(), y1 = x1;
    for (int32_t i = 0; i < count; ++i) {
        const tminimal& o = map.objects[i];
        if (IsLandKind(o.kind)) continue;
        const int64_t lift = o.height / 4;
        if (o.radius > kLargestFiled || lift > kLargestFiled || lift < -kLargestFiled) {
            cell_of_[i] = kLarge;
            large_.push_back(i);
            continue;
        }
        cell_of_[i] = 0;
        max_radius_ = std::max<int64_t>(max_radius_, o.radius);
        min_lift_ = std::min(min_lift_, lift);
        max_lift_ = std::max(max_lift_, lift);
        x0 = std::min<int64_t>(x0, o.x);
        y0 = std::min<int64_t>(y0, o.y);
        x1 = std::max<int64_t>(x1, o.x);
        y1 = std::max<int64_t>(y1, o.y);
    }
    columns_ = rows_ = 0;
    if (x0 > x1) return;   // nothing filed
    origin_x_ = x0;
    origin_y_ = y0;
    cell_size_ = kCellSize;
    while (((x1 - x0) / cell_size_ + 1) * ((y1 - y0) / cell_size_ + 1) > kMaxCells) cell_size_ *= 2;
    columns_ = (x1 - x0) / cell_size_ + 1;
    rows_ = (y1 - y0) / cell_size_ + 1;
    cells_.resize(static_cast<size_t>(columns_ * rows_));
    for (int32_t i = 0; i < count; ++i) {
        if (cell_of_[i] < 0) continue;
        cell_of_[i] = CellAt(map.objects[i].x, map.objects[i].y);
        cells_[cell_of_[i]].push_back(i);
    }
}

void ContactGrid::Moved(const tworld& map, int32_t index) {
    if (index < 0 || index >= static_cast<int32_t>(cell_of_.size()) || cell_of_[index] < 0) return;
    const int32_t now = CellAt(map.objects[index].x, map.objects[index].y);
    int32_t& cell = cell_of_[index];
    if (now == cell) return;
    std::vector<int32_t>& old = cells_[cell];
    old.erase(std::lower_bound(old.begin(), old.end(), index));
    InsertSorted(cells_[now], index);
    cell = now;
}

void ContactGrid::Near(const tminimal& mover, int32_t after, std::vector<int32_t>& out) const {
    out.clear();
    if (columns_ > 0) {
        // Where the base of an object within reach can lie: see Contact_Touch.
        const int64_t reach = max_radius_ + 2 * std::max<int64_t>(mover.radius, 0);
        const int64_t centre_y = int64_t{mover.y} - mover.height / 4;
        const int64_t half_width = std::max<int64_t>(reach, BONUS_PICKUP_REACH);
        const int64_t top = std::min<int64_t>(int64_t{mover.y} - BONUS_PICKUP_REACH, centre_y + min_lift_ - reach);
        const int64_t bottom = std::max<int64_t>(int64_t{mover.y} + BONUS_PICKUP_REACH, centre_y + max_lift_ + reach);
        const int64_t left = Column(mover.x - half_width), right = Column(mover.x + half_width);
        for (int64_t row = Row(top); row <= Row(bottom); ++row) {
            for (int64_t column = left; column <= right; ++column) {
                const std::vector<int32_t>& cell = cells_[static_cast<size_t>(row * columns_ + column)];
                out.insert(out.end(), std::upper_bound(cell.begin(), cell.end(), after), cell.end());
            }
        }
    }
    out.insert(out.end(), std::upper_bound(large_.begin(), large_.end(), after), large_.end());
    std::sort(out.begin(), out.end());
}

// Places outside the built area count in its edge cells: the clamping keeps
// the order of places, so a query still finds everything between its ends.
int64_t ContactGrid::Column(int64_t x) const {
    return std::clamp<int64_t>((x - origin_x_) / cell_size_, 0, columns_ - 1);
}

int64_t ContactGrid::Row(int64_t y) const { return std::clamp<int64_t>((y - origin_y_) / cell_size_, 0, rows_ - 1); }

int32_t ContactGrid::CellAt(int64_t x, int64_t y) const { return static_cast<int32_t>(Row(y) * columns_ + Column(x)); }
