// block.cpp: float-to-16-bit conversion with the output level.
#include "music/block.h"

#include <cmath>
#include <cstdlib>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// Rounds to the nearest integer (halves to even) and clamps to 16 bits.
void ToInt16(const float* acc, int16_t* out) {
#if defined(__SSE2__)
    // Eight values at a time: clamp, convert, and pack with saturation.
    const __m128 lo = _mm_set1_ps(-32768.0f), hi = _mm_set1_ps(32767.0f);
    for (int i = 0; i < 2 * kBlockFrames; i += 8) {
        const __m128 a = _mm_min_ps(_mm_max_ps(_mm_loadu_ps(acc + i), lo), hi);
        const __m128 b = _mm_min_ps(_mm_max_ps(_mm_loadu_ps(acc + i + 4), lo), hi);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i),
                         _mm_packs_epi32(_mm_cvtps_epi32(a), _mm_cvtps_epi32(b)));
    }
#else
    for (int i = 0; i < 2 * kBlockFrames; ++i) {
        const float v = acc[i] > -32768.0f ? (acc[i] < 32767.0f ? acc[i] : 32767.0f) : -32768.0f;
        out[i] = static_cast<int16_t>(std::nearbyint(v));
    }
#endif
}

}  // namespace

uint32_t Block_Convert(const float* acc, int16_t* out, int32_t divisor) {
    ToInt16(acc, out);
    // Full volume leaves the samples as they are.
    if (divisor != kFullVolumeDivisor)
        for (int i = 0; i < 2 * kBlockFrames; ++i) out[i] = static_cast<int16_t>(out[i] * 16 / divisor);
    uint32_t left = 0, right = 0;
    for (int i = 0; i < kBlockFrames; ++i) {
        left += static_cast<uint32_t>(std::abs(out[2 * i]));
        right += static_cast<uint32_t>(std::abs(out[2 * i + 1]));
    }
    return ((left / kBlockFrames) << 16) | (right / kBlockFrames);
}
