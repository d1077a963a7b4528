// xm_file.h: the records of an XM module as the generator composes it, and
// their encoding in the XM file layout (version 0x0104, packed patterns,
// delta-coded 16-bit samples, one sample per instrument).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace assetgen {

constexpr uint8_t kXmKeyOff = 97;                    // the note that releases a channel
enum : uint8_t { XM_ENV_ON = 1, XM_ENV_SUSTAIN = 2, XM_ENV_LOOP = 4 };

struct XmCell {
    uint8_t note = 0;          // 1 = C-0 .. 96, kXmKeyOff, 0 none
    uint8_t instrument = 0;    // 1-based, 0 none
    uint8_t volume = 0;        // volume column, 0 empty
    uint8_t effect = 0;
    uint8_t param = 0;
};

struct XmEnvelopePoint {
    uint16_t tick = 0;
    uint16_t value = 0;        // 0..64
};

struct XmEnvelope {
    std::vector<XmEnvelopePoint> points;   // at most 12
    uint8_t sustain = 0;
    uint8_t type = 0;          // XM_ENV_* bits
};

struct XmInstrument {
    std::string name;
    std::vector<int16_t> sample;
    bool loop = false;
    uint32_t loop_start = 0;   // frames
    uint32_t loop_length = 0;
    uint8_t volume = 64;
    uint8_t panning = 128;
    int8_t relative_note = 0;
    XmEnvelope volume_envelope;
    uint16_t fadeout = 0;
};

struct XmPattern {
    int rows = 64;
    int channels = 0;
    std::vector<XmCell> cells;  // rows x channels, row by row

    XmPattern(int row_count, int channel_count);
    XmCell& At(int row, int channel);
};

struct XmModule {
    std::string title;          // at most 20 characters
    int channels = 0;
    int tempo = 6;              // ticks per row
    int bpm = 125;
    int restart = 0;
    std::vector<uint8_t> orders;
    std::vector<XmPattern> patterns;
    std::vector<XmInstrument> instruments;
};

std::vector<uint8_t> EncodeXm(const XmModule& module);

}  // namespace assetgen
