#include "engine/lit_cache.h"

#include <functional>

namespace oe {

namespace {

// Enough for every tile of a few screens; a frame needs about one.
constexpr size_t kBudgetBytes = size_t{12} << 20;

}  // namespace

LitCache::Key LitCache::MakeKey(int32_t id, const std::array<Colour, 4>& k) {
    Key key{id, {}};
    for (size_t i = 0; i < 4; ++i)
        key.colours[i] = uint32_t(k[i].a) << 24 | uint32_t(k[i].r) << 16 | uint32_t(k[i].g) << 8 | k[i].b;
    return key;
}

size_t LitCache::KeyHash::operator()(const Key& key) const {
    size_t h = std::hash<int32_t>{}(key.id);
    for (uint32_t c : key.colours) h = h * 1000003u ^ std::hash<uint32_t>{}(c);
    return h;
}

const uint32_t* LitCache::Find(int32_t id, const std::array<Colour, 4>& k) {
    const auto it = entries_.find(MakeKey(id, k));
    if (it == entries_.end()) return nullptr;
    it->second.used = frame_;
    return it->second.pixels.data();
}

uint32_t* LitCache::Make(int32_t id, const std::array<Colour, 4>& k, int w, int h) {
    const size_t bytes = size_t(w) * size_t(h) * sizeof(uint32_t);
    if (bytes_ + bytes > kBudgetBytes) {
        for (auto it = entries_.begin(); it != entries_.end();) {
            if (it->second.used + 1 >= frame_) {
                ++it;
                continue;
            }
            bytes_ -= it->second.pixels.size() * sizeof(uint32_t);
            it = entries_.erase(it);
        }
        if (bytes_ + bytes > kBudgetBytes) return nullptr;
    }
    Entry& entry = entries_[MakeKey(id, k)];
    bytes_ += bytes - entry.pixels.size() * sizeof(uint32_t);
    entry.pixels.assign(size_t(w) * size_t(h), 0);
    entry.used = frame_;
    return entry.pixels.data();
}

}  // namespace oe
