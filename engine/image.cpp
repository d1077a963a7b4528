#include "engine/image.h"

#include <stb_image.h>

#include <memory>

namespace oe {

namespace {

// The largest file worth reading: an uncompressed 8192x8192 TGA and its header.
constexpr size_t kMaxFileBytes = size_t(kMaxImageSide) * kMaxImageSide * 4 + 65536;

unsigned Get16(const uint8_t* p) { return unsigned(p[0]) | unsigned(p[1]) << 8; }

// stb_image reads past a short TGA as zeros instead of failing, so the pixel
// data is checked for completeness first, walking the run-length packets.
bool TgaComplete(const uint8_t* data, size_t size) {
    if (size < 18) return false;
    const unsigned id_length = data[0];
    const unsigned map_type = data[1];
    const unsigned type = data[2];
    const bool rle = type == 9 || type == 10 || type == 11;
    if (map_type > 1 || !(rle || type == 1 || type == 2 || type == 3)) return false;
    if ((type == 1 || type == 9) != (map_type == 1)) return false;
    const size_t map_bytes = map_type == 1 ? size_t(Get16(data + 5)) * ((data[7] + 7u) / 8u) : 0;
    const size_t width = Get16(data + 12);
    const size_t height = Get16(data + 14);
    const size_t pixel_bytes = (data[16] + 7u) / 8u;
    if (width == 0 || height == 0 || pixel_bytes == 0) return false;
    size_t pos = 18 + id_length + map_bytes;
    const size_t pixels = width * height;
    if (!rle) return pos <= size && (size - pos) / pixel_bytes >= pixels;
    size_t done = 0;
    while (done < pixels) {
        if (pos >= size) return false;
        const uint8_t packet = data[pos++];
        const size_t count = (packet & 0x7Fu) + 1u;
        const size_t bytes = (packet & 0x80u) ? pixel_bytes : count * pixel_bytes;
        if (size - pos < bytes) return false;
        pos += bytes;
        done += count;
    }
    return true;
}

// stb_image also decodes a cut-off JPG (the missing scan data reads as zeros):
// walk the marker segments to the first scan and require the end-of-image
// marker after it. 0xFF 0xD9 cannot occur inside entropy-coded data.
bool JpegComplete(const uint8_t* data, size_t size) {
    size_t pos = 2;
    while (pos + 1 < size) {
        if (data[pos] != 0xFF) return false;
        const uint8_t marker = data[pos + 1];
        if (marker == 0xFF) {
            ++pos;
            continue;
        }
        if (marker == 0xD9) return false;
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {
            pos += 2;
            continue;
        }
        if (pos + 4 > size) return false;
        const size_t length = size_t(data[pos + 2]) << 8 | data[pos + 3];
        if (length < 2 || size - (pos + 2) < length) return false;
        pos += 2 + length;
        if (marker == 0xDA) {
            for (; pos + 1 < size; ++pos) {
                if (data[pos] == 0xFF && data[pos + 1] == 0xD9) return true;
            }
            return false;
        }
    }
    return false;
}

bool IsJpeg(const uint8_t* data, size_t size) {
    return size >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF;
}

struct StbFree {
    void operator()(stbi_uc* p) const { stbi_image_free(p); }
};

}  // namespace

Image Image_Decode(const uint8_t* data, size_t size, uint32_t colour_key) {
    Image image;
    if (!data || size == 0 || size > kMaxFileBytes) return image;
    const bool complete = IsJpeg(data, size) ? JpegComplete(data, size) : TgaComplete(data, size);
    if (!complete) return image;
    const int len = static_cast<int>(size);
    int w = 0, h = 0, channels = 0;
    if (!stbi_info_from_memory(data, len, &w, &h, &channels)) return image;
    if (w <= 0 || h <= 0 || w > kMaxImageSide || h > kMaxImageSide) return image;
    std::unique_ptr<stbi_uc, StbFree> pixels(stbi_load_from_memory(data, len, &w, &h, &channels, 4));
    if (!pixels || w <= 0 || h <= 0 || w > kMaxImageSide || h > kMaxImageSide) return image;
    const size_t bytes = size_t(w) * size_t(h) * 4;
    image.rgba.assign(pixels.get(), pixels.get() + bytes);
    image.width = w;
    image.height = h;
    if (colour_key != kNoColourKey) {
        const uint8_t r = (colour_key >> 16) & 0xFF, g = (colour_key >> 8) & 0xFF, b = colour_key & 0xFF;
        for (size_t i = 0; i < bytes; i += 4) {
            if (image.rgba[i] == r && image.rgba[i + 1] == g && image.rgba[i + 2] == b) image.rgba[i + 3] = 0;
        }
    }
    return image;
}

}  // namespace oe
