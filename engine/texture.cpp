#include "engine/texture.h"

#include <memory>
#include <utility>

#include "engine/fs.h"
#include "engine/image.h"
#include "engine/load_error.h"
#include "engine/record.h"

namespace oe {

namespace {

struct Store {
    std::vector<std::unique_ptr<TextureRecord>> textures;
    int32_t first_id = 1;   // id of textures[0]
    int32_t next_id = 1;
    uint64_t generation = 0;
    uint64_t released = 0;   // textures let go one by one
};

Store& GetStore() {
    static Store store;
    return store;
}

TextureRecord* MutableRecord(const OE_TextureRec* texture) {
    return Texture_Find(texture) ? GetStore().textures[size_t(texture->id - GetStore().first_id)].get() : nullptr;
}

// RGBA bytes as ARGB words; `opaque` tells whether every alpha is 255. Read as
// little-endian words the bytes are 0xAABBGGRR: red and blue change places.
// Branch-free word operations, so the loop is vectorised.
std::vector<uint32_t> ToArgb(const std::vector<uint8_t>& rgba, bool& opaque) {
    std::vector<uint32_t> argb(rgba.size() / 4);
    uint32_t all = 0xFFFFFFFFu;
    for (size_t i = 0; i < argb.size(); ++i) {
        const uint32_t p = uint32_t(rgba[i * 4]) | uint32_t(rgba[i * 4 + 1]) << 8 | uint32_t(rgba[i * 4 + 2]) << 16 |
                           uint32_t(rgba[i * 4 + 3]) << 24;
        argb[i] = (p & 0xFF00FF00u) | (p >> 16 & 0xFFu) | (p & 0xFFu) << 16;
        all &= p;
    }
    opaque = (all >> 24) == 0xFFu;
    return argb;
}

// The image in a file, or an empty one when it cannot be read or decoded.
Image DecodeFile(const std::string& file, uint32_t colour_key) {
    const auto bytes = Fs_ReadFile(file);
    return bytes ? Image_Decode(bytes->data(), bytes->size(), colour_key) : Image{};
}

}  // namespace

OE_Texture Texture_Create(int w, int h, std::vector<uint8_t> rgba, bool pixels_later) {
    if (w <= 0 || h <= 0 || w > kMaxImageSide || h > kMaxImageSide) return nullptr;
    if (rgba.size() != size_t(w) * size_t(h) * 4) return nullptr;
    Store& store = GetStore();
    auto record = std::make_unique<TextureRecord>();
    record->id = store.next_id++;
    record->width = w;
    record->height = h;
    if (pixels_later) {
        uint8_t alpha = 0xFF;
        for (size_t i = 3; i < rgba.size(); i += 4) alpha &= rgba[i];
        record->opaque = alpha == 0xFF;
    } else {
        record->argb = ToArgb(rgba, record->opaque);
    }
    store.textures.push_back(std::move(record));
    return store.textures.back().get();
}

const TextureRecord* Texture_Find(const OE_TextureRec* texture) {
    if (!texture) return nullptr;
    const Store& store = GetStore();
    const int64_t index = int64_t(texture->id) - store.first_id;
    if (index < 0 || index >= int64_t(store.textures.size())) return nullptr;
    const TextureRecord* record = store.textures[size_t(index)].get();
    return record == texture ? record : nullptr;
}

void Texture_ReleasePixels(const OE_TextureRec* texture) {
    if (TextureRecord* record = MutableRecord(texture)) {
        record->argb = std::vector<uint32_t>();   // gives the memory back, unlike clear() or = {}
        record->file.clear();
    }
}

const std::vector<uint32_t>& Texture_Pixels(const TextureRecord& texture) {
    TextureRecord* record = MutableRecord(&texture);
    if (record && record->argb.empty() && !record->file.empty()) {
        Image image = DecodeFile(record->file, record->colour_key);
        // The file must still hold the picture the texture was made from.
        bool opaque = false;
        if (image.width == record->width && image.height == record->height) record->argb = ToArgb(image.rgba, opaque);
    }
    return texture.argb;
}

void Texture_Unload(const OE_TextureRec* texture) {
    TextureRecord* record = MutableRecord(texture);
    if (record && !record->file.empty()) record->argb = std::vector<uint32_t>();
}

void Texture_Release(const OE_TextureRec* texture) {
    if (TextureRecord* record = MutableRecord(texture)) {
        record->argb = std::vector<uint32_t>();
        record->file.clear();
        record->id = 0;   // no store index: Find refuses the handle from now on
        ++GetStore().released;
    }
}

uint64_t Textures_Released() { return GetStore().released; }

bool Texture_Held(int32_t id) {
    const Store& store = GetStore();
    const int64_t index = int64_t(id) - store.first_id;
    return index >= 0 && index < int64_t(store.textures.size()) && store.textures[size_t(index)]->id == id;
}

void Textures_ReleaseAll() {
    Store& store = GetStore();
    store.textures.clear();
    store.first_id = store.next_id;
    ++store.generation;
}

uint64_t Textures_Generation() { return GetStore().generation; }

}  // namespace oe

void Tex_Unload(OE_Texture tex) { oe::Texture_Unload(tex); }

namespace {

OE_Texture LoadFile(const std::string& file, uint32_t colour_key, int flags, bool pixels_later) {
    OE_Texture texture = nullptr;
    if (auto bytes = Fs_ReadFile(file)) {
        oe::Image image = oe::Image_Decode(bytes->data(), bytes->size(), colour_key);
        if (!image.Empty())
            texture = oe::Texture_Create(image.width, image.height, std::move(image.rgba), pixels_later);
        if (oe::TextureRecord* record = oe::MutableRecord(texture)) {
            record->file = file;   // where Texture_Unload's pixels come back from
            record->colour_key = colour_key;
        }
        if (!texture) oe::SetLoadError("not a TGA or JPG image that can be decoded");
    } else {
        oe::SetLoadError("missing, not a regular file, unreadable or too large");
    }
    // The key is logged as the game passes it: -1 for "no key".
    oe::Record("Tex_LoadFromFile", {double(int32_t(colour_key)), double(flags)}, file, texture);
    return texture;
}

}  // namespace

OE_Texture Tex_LoadFromFile(const std::string& file, uint32_t colour_key, int flags) {
    return LoadFile(file, colour_key, flags, false);
}

OE_Texture Tex_LoadWhenDrawn(const std::string& file, uint32_t colour_key, int flags) {
    return LoadFile(file, colour_key, flags, true);
}
