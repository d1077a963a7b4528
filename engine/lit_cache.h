// lit_cache.h: opaque lit sprites kept as drawn. A ground tile's corner
// colours come from lamps that never move, so the tile looks the same every
// frame it is on screen; shading it once and copying it afterwards gives the
// same pixels for the price of a copy. The cache keeps what the last frames
// drew, within a fixed budget.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "engine/colour.h"

namespace oe {

class LitCache {
public:
    // Starts a frame: what the frames before the last one drew may go.
    void NextFrame() { ++frame_; }
    // The shaded pixels of texture `id` under corner colours `k`; null if not kept.
    const uint32_t* Find(int32_t id, const std::array<Colour, 4>& k);
    // Room for w x h shaded pixels to fill, kept from now on; null when the
    // budget is spent on sprites this frame or the last still uses.
    uint32_t* Make(int32_t id, const std::array<Colour, 4>& k, int w, int h);
    void Clear() { entries_.clear(), bytes_ = 0; }

private:
    struct Key {
        int32_t id;
        std::array<uint32_t, 4> colours;
        bool operator==(const Key&) const = default;
    };
    struct KeyHash {
        size_t operator()(const Key& key) const;
    };
    struct Entry {
        std::vector<uint32_t> pixels;
        uint64_t used = 0;   // the frame that last drew it
    };
    static Key MakeKey(int32_t id, const std::array<Colour, 4>& k);

    std::unordered_map<Key, Entry, KeyHash> entries_;
    size_t bytes_ = 0;
    uint64_t frame_ = 0;
};

}  // namespace oe
