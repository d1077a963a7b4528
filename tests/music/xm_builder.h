// xm_builder.h: small XM files written in memory for the module player's tests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "music/arena.h"
#include "music/song.h"

struct XmEnvelope {
    std::vector<TEnvelopePoint> points;
    uint8_t sustain = 0;
    uint8_t loop_start = 0;
    uint8_t loop_end = 0;
    uint8_t type = 0;                     // ENV_* bits
};

struct XmSample {
    std::vector<uint8_t> data;            // as stored in the file (delta coded)
    uint32_t length = 0;                  // in bytes, as the header states it
    uint32_t loop_start = 0;              // in bytes
    uint32_t loop_length = 0;             // in bytes
    uint8_t volume = 64;
    int8_t finetune = 0;
    uint8_t type = 0;                     // loop type in bits 0-1, 0x10 16-bit
    uint8_t panning = 128;
    int8_t relative_note = 0;
    uint8_t packing = 0;
};

struct XmInstrument {
    std::vector<XmSample> samples;
    std::vector<uint8_t> note_map = std::vector<uint8_t>(96, 0);
    XmEnvelope volume_envelope;
    XmEnvelope panning_envelope;
    uint8_t vibrato_type = 0, vibrato_sweep = 0, vibrato_depth = 0, vibrato_rate = 0;
    uint16_t fadeout = 0;
    uint32_t sample_header_size = 40;
};

struct XmPattern {
    uint16_t rows = 64;
    std::vector<TCell> cells;             // rows x channels; empty: stored with packed size 0
};

struct XmSong {
    std::string title = "test song";
    uint16_t channels = 2;
    uint16_t restart = 0;
    uint16_t flags = 1;                   // linear frequency table
    uint16_t tempo = 6;
    uint16_t bpm = 125;
    std::vector<uint8_t> orders = {0};
    std::vector<XmPattern> patterns = {XmPattern{}};
    std::vector<XmInstrument> instruments;
    int song_length = -1;                 // -1: the number of orders
    int pattern_count = -1;               // -1: the number of patterns
    int instrument_count = -1;            // -1: the number of instruments
};

// The bytes of an XM file with this content.
std::vector<uint8_t> Xm_Build(const XmSong& song);

// 8-bit and 16-bit sample values delta coded as the file stores them.
std::vector<uint8_t> Xm_Delta8(const std::vector<int8_t>& values);
std::vector<uint8_t> Xm_Delta16(const std::vector<int16_t>& values);

// A sample of `values` 8-bit frames, with an optional loop (in frames).
XmSample Xm_Sample8(const std::vector<int8_t>& values, uint8_t loop_type = 0, uint32_t loop_start = 0,
                    uint32_t loop_length = 0);

// A pattern of `rows` empty rows for `channels` channels.
XmPattern Xm_Pattern(uint16_t rows, uint16_t channels);
TCell& Xm_Cell(XmPattern& pattern, uint16_t channels, int row, int channel);

// A song of one pattern of `rows` rows on `channels` channels with instrument
// 1: a looping 32-frame 8-bit wave at volume 64, centre panning.
XmSong Xm_ToneSong(uint16_t rows = 64, uint16_t channels = 2);

// A song loaded from bytes, owning its arena.
struct LoadedSong {
    TArena arena;
    TSong song;
    bool ok = false;
};
void Xm_Load(LoadedSong& out, const std::vector<uint8_t>& bytes);

// At a tick boundary: runs the next tick and renders all of its frames.
std::vector<float> Xm_RenderTick(TSong& song);
// Runs `count` ticks.
void Xm_RenderTicks(TSong& song, int count);
// Renders `frames` frames.
std::vector<float> Xm_Render(TSong& song, int frames);
