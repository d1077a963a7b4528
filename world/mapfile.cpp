#include "world/mapfile.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <optional>
#include <string_view>

#include "engine/fs.h"

namespace {

// The file's lines, one at a time; a CR before the LF is not part of a line.
class Lines {
public:
    explicit Lines(const std::vector<uint8_t>& bytes)
        : text_(reinterpret_cast<const char*>(bytes.data()), bytes.size()) {}

    std::optional<std::string_view> Next() {
        if (pos_ >= text_.size()) return std::nullopt;
        size_t end = text_.find('\n', pos_);
        if (end == std::string_view::npos) end = text_.size();
        std::string_view line = text_.substr(pos_, end - pos_);
        pos_ = end + 1;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        return line;
    }

    // A signed decimal within [lo, hi] standing alone on the next line.
    std::optional<int32_t> Number(int64_t lo, int64_t hi) {
        const auto line = Next();
        if (!line || line->empty()) return std::nullopt;
        int64_t value = 0;
        const char* end = line->data() + line->size();
        const auto [ptr, ec] = std::from_chars(line->data(), end, value);
        if (ec != std::errc() || ptr != end || value < lo || value > hi) return std::nullopt;
        return static_cast<int32_t>(value);
    }

    std::optional<int32_t> Int() { return Number(INT32_MIN, INT32_MAX); }
    std::optional<int32_t> Byte() { return Number(0, 255); }
    std::optional<int32_t> Coordinate() { return Number(-MAP_COORDINATE_LIMIT, MAP_COORDINATE_LIMIT); }

private:
    std::string_view text_;
    size_t pos_ = 0;
};

void PutLine(std::vector<uint8_t>& out, const std::string& text) {
    out.insert(out.end(), text.begin(), text.end());
    out.push_back('\r');
    out.push_back('\n');
}

void PutInt(std::vector<uint8_t>& out, int64_t value) { PutLine(out, std::to_string(value)); }

// One object block, read whole before it is kept.
struct Entry {
    std::string kind;
    int32_t x = 0, y = 0, colour = 0;
    uint8_t ai = 0, dynamic = 0;
};

std::optional<Entry> ReadEntry(Lines& lines) {
    Entry e;
    const auto kind = lines.Next();
    const auto x = lines.Coordinate();
    const auto y = x ? lines.Coordinate() : std::nullopt;
    const auto ai = y ? lines.Byte() : std::nullopt;
    const auto dynamic = ai ? lines.Byte() : std::nullopt;
    const auto colour = dynamic ? lines.Int() : std::nullopt;
    if (!kind || kind->size() > MAP_KIND_MAX_BYTES || !colour) return std::nullopt;
    return Entry{std::string(*kind), *x, *y, *colour, static_cast<uint8_t>(*ai), static_cast<uint8_t>(*dynamic)};
}

}  // namespace

std::vector<uint8_t> MapFile_Encode(const tworld& world) {
    std::vector<uint8_t> out;
    const int32_t count = std::clamp(world.count, 0, WORLD_CAPACITY);
    PutInt(out, count);
    for (int32_t i = 0; i < count; ++i) {
        const tminimal& o = world.objects[i];
        PutLine(out, o.kind);
        PutInt(out, o.x);
        PutInt(out, o.y);
        PutInt(out, o.ai);
        PutInt(out, o.dynamic);
        PutInt(out, o.colour);
    }
    const int32_t waypoints = std::clamp(world.waypoint_count, 0, WORLD_CAPACITY);
    PutInt(out, waypoints);
    for (int32_t i = 0; i < waypoints; ++i) {
        PutInt(out, world.waypoints[i].x);
        PutInt(out, world.waypoints[i].y);
    }
    return out;
}

bool World_Save(const tworld& world, const std::string& file_name) {
    return Fs_WriteFileAtomic(file_name, MapFile_Encode(world));
}

int32_t MapFile_Read(const std::vector<uint8_t>& bytes, tworld& world) {
    Lines lines(bytes);
    world.waypoint_count = 0;
    int32_t read = 0;
    const auto objects = lines.Int();
    if (!objects) return read;
    for (int32_t i = 0; i < *objects; ++i) {
        const auto e = ReadEntry(lines);
        if (!e) return read;
        if (world.count < 0 || world.count >= WORLD_CAPACITY) continue;
        tminimal& o = world.objects[world.count++];
        o.kind = e->kind;
        o.x = e->x;
        o.y = e->y;
        o.ai = e->ai;
        o.dynamic = e->dynamic;
        o.colour = e->colour;
        ++read;
    }
    const auto waypoints = lines.Int();
    if (!waypoints) return read;
    for (int32_t i = 0; i < *waypoints; ++i) {
        const auto x = lines.Coordinate();
        const auto y = x ? lines.Coordinate() : std::nullopt;
        if (!y) return read;
        World_AddWaypoint(world, *x, *y);
    }
    return read;
}
