// The texture loader's decoder (TGA and JPG) on arbitrary bytes.
#include <cstdlib>

#include "engine/image.h"
#include "tests/fuzz/fuzz_targets.h"

bool Fuzz_Image(const uint8_t* data, size_t size) {
    for (const uint32_t key : {oe::kNoColourKey, 0x000000u}) {
        const oe::Image image = oe::Image_Decode(data, size, key);
        if (image.Empty()) {
            if (!image.rgba.empty()) return false;
            continue;
        }
        if (image.width > oe::kMaxImageSide || image.height > oe::kMaxImageSide) return false;
        if (image.rgba.size() != size_t(image.width) * size_t(image.height) * 4) return false;
    }
    return true;
}

#ifdef KORVAMO_LIBFUZZER
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (!Fuzz_Image(data, size)) std::abort();
    return 0;
}
#endif
