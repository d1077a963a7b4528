#include "engine/blend_span.h"

#include <algorithm>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace oe {

namespace {

// A colour as a 0xAARRGGBB word.
uint32_t Word(Colour c) { return uint32_t(c.a) << 24 | uint32_t(c.r) << 16 | uint32_t(c.g) << 8 | c.b; }

// One pixel at a time: the few past the last group of four, or every pixel without SSE2.
uint32_t Div255(uint32_t x) { return (x + 1 + (x >> 8)) >> 8; }

uint32_t Channel(uint32_t word, int shift) { return (word >> shift) & 0xFFu; }

template <Blend kBlend>
uint32_t Pixel(uint32_t texel, uint32_t colour, uint32_t below) {
    const uint32_t alpha = Div255(Channel(texel, 24) * Channel(colour, 24));
    uint32_t result = 0xFF000000u;
    for (int shift = 0; shift < 24; shift += 8) {
        const uint32_t over = Div255(Div255(Channel(texel, shift) * Channel(colour, shift)) * alpha);
        const uint32_t under = Channel(below, shift);
        result |= (kBlend == Blend::Add ? std::min(over + under, 255u) : over + Div255(under * (255 - alpha)))
                  << shift;
    }
    return result;
}

// Transparent texels leave what is below as it is, in either blend.
template <Blend kBlend>
void Pixels(const uint32_t* texels, const uint32_t* colours, int colour_step, uint32_t* out, int count) {
    for (int i = 0; i < count; ++i)
        if (texels[i] >> 24) out[i] = Pixel<kBlend>(texels[i], colours[i * colour_step], out[i]);
}

#if defined(__SSE2__)

constexpr int kGroup = 4;   // pixels to a vector

// Four pixels as bytes, or two pixels widened to 16-bit lanes, a lane per channel.
using Vec = __m128i;

[[gnu::always_inline]] inline Vec Load(const uint32_t* p) { return _mm_loadu_si128(reinterpret_cast<const Vec*>(p)); }

[[gnu::always_inline]] inline void Store(uint32_t* p, Vec v) { _mm_storeu_si128(reinterpret_cast<Vec*>(p), v); }

// x / 255 rounded down, exact for x up to 255 * 255, which keeps every step within 16 bits.
[[gnu::always_inline]] inline Vec Div255(Vec x) {
    return _mm_srli_epi16(_mm_add_epi16(_mm_add_epi16(x, _mm_set1_epi16(1)), _mm_srli_epi16(x, 8)), 8);
}

// Lanes back to four opaque pixels; sums past 255 (the added blend's) saturate to 255.
[[gnu::always_inline]] inline Vec Narrow(Vec low, Vec high) {
    return _mm_or_si128(_mm_packus_epi16(low, high), _mm_set1_epi32(int(0xFF000000u)));
}

// Two pixels of texels times their colours over what is below.
template <Blend kBlend>
[[gnu::always_inline]] inline Vec Over(Vec texel, Vec colour, Vec below) {
    const Vec tinted = Div255(_mm_mullo_epi16(texel, colour));   // its alpha lane: texel alpha times colour alpha
    const Vec alpha = _mm_shufflehi_epi16(_mm_shufflelo_epi16(tinted, 0xFF), 0xFF);
    const Vec over = Div255(_mm_mullo_epi16(tinted, alpha));
    if constexpr (kBlend == Blend::Add) {
        return _mm_add_epi16(over, below);
    } else {
        return _mm_add_epi16(over, Div255(_mm_mullo_epi16(below, _mm_sub_epi16(_mm_set1_epi16(255), alpha))));
    }
}

[[gnu::always_inline]] inline Vec Modulate(Vec texel, Vec colour) {
    const Vec zero = _mm_setzero_si128();
    return Narrow(Div255(_mm_mullo_epi16(_mm_unpacklo_epi8(texel, zero), _mm_unpacklo_epi8(colour, zero))),
                  Div255(_mm_mullo_epi16(_mm_unpackhi_epi8(texel, zero), _mm_unpackhi_epi8(colour, zero))));
}

// Whether the alpha of each of four pixels equals `alpha` (0xFF000000 or 0).
[[gnu::always_inline]] inline bool AllAlphas(Vec pixels, uint32_t alpha) {
    const Vec mask = _mm_set1_epi32(int(0xFF000000u));
    return _mm_movemask_epi8(_mm_cmpeq_epi32(_mm_and_si128(pixels, mask), _mm_set1_epi32(int(alpha)))) == 0xFFFF;
}

// Four pixels; `colour_opaque`: the colours are all at alpha 255.
template <Blend kBlend>
[[gnu::always_inline]] inline void BlendFour(const uint32_t* texels, uint32_t* out, Vec colour, bool colour_opaque) {
    const Vec texel = Load(texels);
    if (AllAlphas(texel, 0)) return;
    if (kBlend == Blend::Normal && colour_opaque && AllAlphas(texel, 0xFF000000u)) {
        Store(out, Modulate(texel, colour));
        return;
    }
    const Vec zero = _mm_setzero_si128(), below = Load(out);
    Store(out, Narrow(Over<kBlend>(_mm_unpacklo_epi8(texel, zero), _mm_unpacklo_epi8(colour, zero),
                                   _mm_unpacklo_epi8(below, zero)),
                      Over<kBlend>(_mm_unpackhi_epi8(texel, zero), _mm_unpackhi_epi8(colour, zero),
                                   _mm_unpackhi_epi8(below, zero))));
}

void Modulated(const uint32_t* texels, uint32_t* out, int count, Colour colour) {
    const uint32_t word = Word(colour);
    const Vec c = _mm_set1_epi32(int(word));
    const int whole = count - count % kGroup;
    for (int i = 0; i < whole; i += kGroup) Store(out + i, Modulate(Load(texels + i), c));
    Pixels<Blend::Normal>(texels + whole, &word, 0, out + whole, count - whole);
}

template <Blend kBlend>
void Blended(const uint32_t* texels, uint32_t* out, int count, Colour colour) {
    const uint32_t word = Word(colour);
    const Vec c = _mm_set1_epi32(int(word));
    const int whole = count - count % kGroup;
    for (int i = 0; i < whole; i += kGroup) BlendFour<kBlend>(texels + i, out + i, c, colour.a == 255);
    Pixels<kBlend>(texels + whole, &word, 0, out + whole, count - whole);
}

template <Blend kBlend>
void BlendedEach(const uint32_t* texels, const uint32_t* colours, uint32_t* out, int count) {
    const int whole = count - count % kGroup;
    for (int i = 0; i < whole; i += kGroup) {
        const Vec colour = Load(colours + i);
        BlendFour<kBlend>(texels + i, out + i, colour, AllAlphas(colour, 0xFF000000u));
    }
    Pixels<kBlend>(texels + whole, colours + whole, 1, out + whole, count - whole);
}

#else

void Modulated(const uint32_t* texels, uint32_t* out, int count, Colour colour) {
    const uint32_t word = Word(colour);
    Pixels<Blend::Normal>(texels, &word, 0, out, count);
}

template <Blend kBlend>
void Blended(const uint32_t* texels, uint32_t* out, int count, Colour colour) {
    const uint32_t word = Word(colour);
    Pixels<kBlend>(texels, &word, 0, out, count);
}

template <Blend kBlend>
void BlendedEach(const uint32_t* texels, const uint32_t* colours, uint32_t* out, int count) {
    Pixels<kBlend>(texels, colours, 1, out, count);
}

#endif

}  // namespace

void BlendSpan(const uint32_t* texels, uint32_t* out, int count, Colour colour, Blend blend, bool opaque) {
    if (count <= 0 || colour.a == 0) return;   // nothing shows: what is below stays
    if (opaque && colour.a == 255 && blend == Blend::Normal) {
        if (colour == Colour{}) {
            std::memcpy(out, texels, size_t(count) * 4);
        } else {
            Modulated(texels, out, count, colour);
        }
    } else if (blend == Blend::Normal) {
        Blended<Blend::Normal>(texels, out, count, colour);
    } else {
        Blended<Blend::Add>(texels, out, count, colour);
    }
}

void BlendSpanColours(const uint32_t* texels, const uint32_t* colours, uint32_t* out, int count, Blend blend) {
    if (count <= 0) return;
    if (blend == Blend::Normal) {
        BlendedEach<Blend::Normal>(texels, colours, out, count);
    } else {
        BlendedEach<Blend::Add>(texels, colours, out, count);
    }
}

void StepColours(uint32_t* colours, int count, std::array<int32_t, 4> value, const std::array<int32_t, 4>& step) {
    // 16.16 fixed point in 32-bit lanes, four pixels at a time: a level's whole part is masked in place.
    using Words = uint32_t __attribute__((vector_size(16)));
    Words r{}, g{}, b{}, a{};
    for (uint32_t i = 0; i < 4; ++i) {
        r[i] = uint32_t(value[0]) + i * uint32_t(step[0]), g[i] = uint32_t(value[1]) + i * uint32_t(step[1]);
        b[i] = uint32_t(value[2]) + i * uint32_t(step[2]), a[i] = uint32_t(value[3]) + i * uint32_t(step[3]);
    }
    const uint32_t dr = 4 * uint32_t(step[0]), dg = 4 * uint32_t(step[1]), db = 4 * uint32_t(step[2]),
                   da = 4 * uint32_t(step[3]);
    auto word = [&] { return (a << 8 & 0xFF000000u) | (r & 0xFF0000u) | (g >> 8 & 0xFF00u) | b >> 16; };
    int i = 0;
    for (; i + 4 <= count; i += 4, r += dr, g += dg, b += db, a += da) {
        const Words w = word();
        std::memcpy(colours + i, &w, sizeof w);
    }
    const Words w = word();
    for (int j = 0; i < count; ++i, ++j) colours[i] = w[j];
}

}  // namespace oe
