#include "course.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <utility>

namespace assetgen {

namespace {

constexpr float kStep = 16;  // centre line sampling, pixels
constexpr float kPi = 3.14159265f;

struct Heading {
    int dx = 1;
    int dy = 0;
    bool operator==(const Heading&) const = default;
};

Heading Towards(const Corner& from, const Corner& to) {
    return {(to.x > from.x) - (to.x < from.x), (to.y > from.y) - (to.y < from.y)};
}

int Span(const Corner& a, const Corner& b) { return std::abs(b.x - a.x) + std::abs(b.y - a.y); }

// Walks the course, laying tiles and sampling the centre line; refuses a
// cell claimed twice.
class Builder {
public:
    Builder(int x, int y, Heading h) : x_(x), y_(y), h_(h) { course_.line.push_back(Px(x, y)); }

    bool Straight(int cells, int wide) {
        const int x0 = x_, y0 = y_;
        if (cells > 0) course_.straights.push_back({Px(x_, y_), Px(x_ + h_.dx * cells, y_ + h_.dy * cells)});
        for (int i = 0; i < cells; ++i) {
            if (h_.dx != 0) {
                const int cx = h_.dx > 0 ? x_ : x_ - 1;
                if (!Lay(cx, y_ - 1, "lnd_edge_n") || !Lay(cx, y_, "lnd_edge_s")) return false;
            } else {
                const int cy = h_.dy > 0 ? y_ : y_ - 1;
                if (!Lay(x_ - 1, cy, "lnd_edge_w") || !Lay(x_, cy, "lnd_edge_e")) return false;
            }
            const Vec2 from = Px(x_, y_);
            x_ += h_.dx;
            y_ += h_.dy;
            const Vec2 to = Px(x_, y_);
            for (float t = kStep; t <= kCell; t += kStep) course_.line.push_back(from + (to - from) * (t / kCell));
        }
        return wide == 0 || cells < 4 || Widen(x0, y0, cells, wide);
    }

    // One more row of cells beside the straight from (x0, y0), but for a
    // cell at each end: the old kerb becomes road, with a rounded inside
    // corner where it meets the kerbs of the wider part.
    bool Widen(int x0, int y0, int cells, int wide) {
        const Heading side = wide > 0 ? Heading{h_.dy, -h_.dx} : Heading{-h_.dy, h_.dx};
        const bool horizontal = h_.dx != 0;
        const std::string out = horizontal ? (side.dy < 0 ? "n" : "s") : (side.dx < 0 ? "w" : "e");
        const Vec2 shift{static_cast<float>(side.dx * kCell), static_cast<float>(side.dy * kCell)};
        const Vec2 a = Px(x0 + h_.dx, y0 + h_.dy) + shift,
                   b = Px(x0 + h_.dx * (cells - 1), y0 + h_.dy * (cells - 1)) + shift;
        course_.widenings.push_back({a, b});
        // The cells of the run, in grid order along the straight.
        const int lo = horizontal ? std::min(x0, x_) + 1 : std::min(y0, y_) + 1;
        const int hi = horizontal ? std::max(x0, x_) - 2 : std::max(y0, y_) - 2;
        for (int c = lo; c <= hi; ++c) {
            // The old edge cell on that side and the new one beyond it.
            const int ex = horizontal ? c : (side.dx < 0 ? x0 - 1 : x0),
                      ey = horizontal ? (side.dy < 0 ? y0 - 1 : y0) : c;
            const std::string end = c == lo ? (horizontal ? "w" : "n") : c == hi ? (horizontal ? "e" : "s") : "";
            const std::string corner = horizontal ? out + end : end + out;
            Retile(ex, ey, end.empty() ? "lnd_road" : "lnd_inner_" + corner);
            if (!Lay(ex + side.dx, ey + side.dy, end.empty() ? "lnd_edge_" + out : "lnd_edge_" + corner)) return false;
        }
        return true;
    }

    bool Turn(bool right, int r) {
        const Heading side = right ? Heading{-h_.dy, h_.dx} : Heading{h_.dy, -h_.dx};
        const int cx = x_ + side.dx * r, cy = y_ + side.dy * r;
        // The arc lies away from its centre along the old heading's side and
        // towards the old heading.
        const int sx = side.dx != 0 ? -side.dx : h_.dx;
        const int sy = side.dy != 0 ? -side.dy : h_.dy;
        const Quadrant q = sy < 0 ? (sx > 0 ? Quadrant::NE : Quadrant::NW) : (sx > 0 ? Quadrant::SE : Quadrant::SW);
        for (int b = 0; b <= r; ++b)
            for (int a = 0; a <= r; ++a) {
                const BendCell kind = ClassifyBendCell(r, a, b);
                if (kind == BendCell::Ground) continue;
                const int i = sx > 0 ? cx + a : cx - a - 1;
                const int j = sy > 0 ? cy + b : cy - b - 1;
                if (!Lay(i, j, kind == BendCell::Road ? "lnd_road" : BendTileKind(r, q, a, b))) return false;
            }
        const Vec2 centre = Px(cx, cy);
        const float radius = static_cast<float>(r * kCell);
        course_.bends.push_back({centre, radius, q});
        const Vec2 from = Px(x_, y_) - centre;
        const float a0 = std::atan2(from.y, from.x);
        const float turn = right ? kPi / 2 : -kPi / 2;  // y grows downwards: right is clockwise
        const int steps = static_cast<int>(std::ceil(radius * kPi / 2 / kStep));
        for (int k = 1; k <= steps; ++k) {
            const float a = a0 + turn * k / steps;
            course_.line.push_back(centre + Vec2{std::cos(a), std::sin(a)} * radius);
        }
        x_ += h_.dx * r + side.dx * r;
        y_ += h_.dy * r + side.dy * r;
        h_ = side;
        return true;
    }

    Course Finish(Heading start) {
        course_.line.pop_back();  // the loop's end is its start
        course_.start = course_.line.front();
        course_.direction = start.dx;
        return std::move(course_);
    }

    int x() const { return x_; }
    int y() const { return y_; }
    Heading heading() const { return h_; }

private:
    static Vec2 Px(int x, int y) { return {static_cast<float>(x * kCell), static_cast<float>(y * kCell)}; }

    bool Lay(int i, int j, const std::string& kind) {
        if (!cells_.emplace(std::pair{i, j}, true).second) return false;
        course_.tiles.push_back({kind, i * kCell + kCell / 2, (j + 1) * kCell});
        if (course_.tiles.size() == 1) {
            course_.cell_x0 = course_.cell_x1 = i;
            course_.cell_y0 = course_.cell_y1 = j;
        }
        course_.cell_x0 = std::min(course_.cell_x0, i);
        course_.cell_x1 = std::max(course_.cell_x1, i);
        course_.cell_y0 = std::min(course_.cell_y0, j);
        course_.cell_y1 = std::max(course_.cell_y1, j);
        return true;
    }

    void Retile(int i, int j, const std::string& kind) {
        for (RoadTile& t : course_.tiles)
            if (t.x == i * kCell + kCell / 2 && t.y == (j + 1) * kCell) t.kind = kind;
    }

    int x_, y_;
    Heading h_;
    Course course_;
    std::map<std::pair<int, int>, bool> cells_;
};

bool ValidRadius(int r) { return std::find(std::begin(kBendRadii), std::end(kBendRadii), r) != std::end(kBendRadii); }

}  // namespace

std::optional<Course> BuildCourse(const Layout& layout, std::string& error) {
    const auto& c = layout.corners;
    const size_t n = c.size();
    if (n < 4 || c[0].y != c[1].y || c[0].x == c[1].x) {
        error = "a course needs four corners or more and a horizontal first side";
        return std::nullopt;
    }
    for (size_t i = 0; i < n; ++i) {
        const Corner& a = c[i];
        const Corner& b = c[(i + 1) % n];
        if ((a.x != b.x) == (a.y != b.y) || !ValidRadius(b.radius)) {
            error = "side " + std::to_string(i) + " is not a straight line between two corners with a bend";
            return std::nullopt;
        }
    }
    const Heading first = Towards(c[0], c[1]);
    Builder walk(c[0].x + first.dx * layout.start, c[0].y, first);
    // From the start line to the first bend, round every corner, and back.
    auto straight = [&](int cells, int wide) {
        if (cells < 0) error = "a side is too short for the bends at its ends";
        return cells >= 0 && walk.Straight(cells, wide);
    };
    if (!straight(Span(c[0], c[1]) - c[1].radius - layout.start, 0)) return std::nullopt;
    for (size_t i = 1; i <= n; ++i) {
        const Corner& here = c[i % n];
        const Corner& next = c[(i + 1) % n];
        const Heading in = walk.heading();
        const Heading out = Towards(here, next);
        if (out == in || out == Heading{-in.dx, -in.dy} || !walk.Turn(out == Heading{-in.dy, in.dx}, here.radius)) {
            if (error.empty()) error = "the course runs over itself at corner " + std::to_string(i % n);
            return std::nullopt;
        }
        const int cells = i < n ? Span(here, next) - here.radius - next.radius : layout.start - here.radius;
        if (!straight(cells, i < n ? here.wide : 0)) {
            if (error.empty()) error = "the course runs over itself after corner " + std::to_string(i % n);
            return std::nullopt;
        }
    }
    if (walk.x() != c[0].x + first.dx * layout.start || walk.y() != c[0].y || !(walk.heading() == first)) {
        error = "the course does not close";
        return std::nullopt;
    }
    return walk.Finish(first);
}

float DistanceToLine(const Course& course, Vec2 p) {
    float best = 1e30f;
    for (const auto* segments : {&course.straights, &course.widenings})
        for (const auto& [a, b] : *segments) {
            const Vec2 ab = b - a;
            const float t = std::clamp(Dot(p - a, ab) / Dot(ab, ab), 0.0f, 1.0f);
            best = std::min(best, Length(p - (a + ab * t)));
        }
    for (const Bend& bend : course.bends) {
        const Vec2 sign{bend.quadrant == Quadrant::NE || bend.quadrant == Quadrant::SE ? 1.0f : -1.0f,
                        bend.quadrant == Quadrant::SE || bend.quadrant == Quadrant::SW ? 1.0f : -1.0f};
        const Vec2 d = p - bend.centre;
        if (d.x * sign.x >= 0 && d.y * sign.y >= 0) {
            best = std::min(best, std::fabs(Length(d) - bend.radius));
        } else {
            best = std::min(best, Length(d - Vec2{sign.x * bend.radius, 0}));
            best = std::min(best, Length(d - Vec2{0, sign.y * bend.radius}));
        }
    }
    return best;
}

std::vector<Vec2> Waypoints(const Course& course, float spacing) {
    const size_t n = course.line.size();
    std::vector<float> at(n + 1, 0.0f);
    for (size_t i = 0; i < n; ++i) at[i + 1] = at[i] + Length(course.line[(i + 1) % n] - course.line[i]);
    const int count = std::max(1, static_cast<int>(std::lround(at[n] / spacing)));
    std::vector<Vec2> points;
    size_t seg = 0;
    for (int k = 0; k < count; ++k) {
        const float s = at[n] * k / count;
        while (seg + 1 < n && at[seg + 1] <= s) ++seg;
        const Vec2 a = course.line[seg];
        const Vec2 b = course.line[(seg + 1) % n];
        const float len = at[seg + 1] - at[seg];
        points.push_back(a + (b - a) * (len > 0 ? (s - at[seg]) / len : 0.0f));
    }
    // Where the road is a cell wider, the waypoints move to its middle, so a
    // car anywhere on the wide road passes within reach of them.
    for (Vec2& p : points)
        for (const auto& [a, b] : course.widenings) {
            const Vec2 ab = b - a;
            const float along = Dot(p - a, ab) / Length(ab);
            const Vec2 beside = a + ab * (along / Length(ab));
            if (along < 0 || along > Length(ab) || std::fabs(Length(beside - p) - kCell) >= 1) continue;
            // Eased in and out over two cells, so the line bends no more than a road does.
            const float ease = std::clamp(std::min(along, Length(ab) - along) / (2 * kCell), 0.0f, 1.0f);
            p = p + (beside - p) * (0.5f * ease);
        }
    return points;
}

}  // namespace assetgen
