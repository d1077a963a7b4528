// image_files.h: small image files made on the fly for the engine's tests.
#pragma once

#include <stb_image_write.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "engine/fs.h"

namespace testimg {

inline void Append(void* context, void* data, int size) {
    auto* out = static_cast<std::vector<uint8_t>*>(context);
    const auto* bytes = static_cast<const uint8_t*>(data);
    out->insert(out->end(), bytes, bytes + size);
}

// RGBA pixels of one colour.
inline std::vector<uint8_t> Solid(int w, int h, uint8_t r, uint8_t g, uint8_t b, uint8_t a = 255) {
    std::vector<uint8_t> px(size_t(w) * h * 4);
    for (size_t i = 0; i < px.size(); i += 4) {
        px[i] = r, px[i + 1] = g, px[i + 2] = b, px[i + 3] = a;
    }
    return px;
}

inline std::vector<uint8_t> Tga(int w, int h, const std::vector<uint8_t>& rgba, bool rle) {
    std::vector<uint8_t> out;
    stbi_write_tga_with_rle = rle ? 1 : 0;
    stbi_write_tga_to_func(Append, &out, w, h, 4, rgba.data());
    stbi_write_tga_with_rle = 1;
    return out;
}

inline std::vector<uint8_t> Jpg(int w, int h, const std::vector<uint8_t>& rgba) {
    std::vector<uint8_t> out;
    stbi_write_jpg_to_func(Append, &out, w, h, 4, rgba.data(), 95);
    return out;
}

inline std::vector<uint8_t> Png(int w, int h, const std::vector<uint8_t>& rgba) {
    std::vector<uint8_t> out;
    stbi_write_png_to_func(Append, &out, w, h, 4, rgba.data(), w * 4);
    return out;
}

inline void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                static_cast<std::streamsize>(bytes.size()));
}

inline void WriteText(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

// A fresh empty folder under the system's temporary folder.
inline std::string TempFolder(const std::string& name) {
    return Fs_MakeScratchFolder("korvamo-test-" + name + "-");
}

}  // namespace testimg
