#include "engine/image.h"

#include <stb_image.h>

#include <csetjmp>
#include <cstdio>
#include <memory>
#include <vector>

// jpeglib.h needs FILE and size_t declared before it.
#include <jpeglib.h>

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

// libjpeg reports a cut-off or damaged file with a warning and goes on with
// grey: every message is taken as a failure, so only whole files decode.
struct JpegErrors {
    jpeg_error_mgr manager;
    jmp_buf failed;
    bool warned = false;
};

[[noreturn]] void JpegFail(j_common_ptr info) { longjmp(reinterpret_cast<JpegErrors*>(info->err)->failed, 1); }

void JpegMessage(j_common_ptr info, int level) {
    if (level < 0) reinterpret_cast<JpegErrors*>(info->err)->warned = true;
}

// Runs the decoder into `rgba`; false on any error or warning. Nothing with a
// destructor lives in this frame, so leaving it by longjmp is safe.
bool DecodeJpeg(const uint8_t* data, size_t size, int& w, int& h, std::vector<uint8_t>& rgba) {
    jpeg_decompress_struct info{};
    JpegErrors errors;
    info.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = JpegFail;
    errors.manager.emit_message = JpegMessage;
    if (setjmp(errors.failed)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, data, static_cast<unsigned long>(size));
    jpeg_read_header(&info, TRUE);
    if (info.image_width == 0 || info.image_height == 0 || info.image_width > unsigned(kMaxImageSide) ||
        info.image_height > unsigned(kMaxImageSide)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    info.out_color_space = JCS_EXT_RGBA;
    jpeg_start_decompress(&info);
    w = static_cast<int>(info.output_width);
    h = static_cast<int>(info.output_height);
    rgba.resize(size_t(w) * size_t(h) * 4);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = rgba.data() + size_t(info.output_scanline) * size_t(w) * 4;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return !errors.warned;
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
    int w = 0, h = 0;
    if (IsJpeg(data, size)) {
        if (!DecodeJpeg(data, size, w, h, image.rgba)) return Image{};
    } else {
        if (!TgaComplete(data, size)) return image;
        const int len = static_cast<int>(size);
        int channels = 0;
        if (!stbi_info_from_memory(data, len, &w, &h, &channels)) return image;
        if (w <= 0 || h <= 0 || w > kMaxImageSide || h > kMaxImageSide) return image;
        std::unique_ptr<stbi_uc, StbFree> pixels(stbi_load_from_memory(data, len, &w, &h, &channels, 4));
        if (!pixels || w <= 0 || h <= 0 || w > kMaxImageSide || h > kMaxImageSide) return image;
        image.rgba.assign(pixels.get(), pixels.get() + size_t(w) * size_t(h) * 4);
    }
    image.width = w;
    image.height = h;
    const size_t bytes = image.rgba.size();
    if (colour_key != kNoColourKey) {
        const uint8_t r = (colour_key >> 16) & 0xFF, g = (colour_key >> 8) & 0xFF, b = colour_key & 0xFF;
        for (size_t i = 0; i < bytes; i += 4) {
            if (image.rgba[i] == r && image.rgba[i + 1] == g && image.rgba[i + 2] == b) image.rgba[i + 3] = 0;
        }
    }
    return image;
}

}  // namespace oe
