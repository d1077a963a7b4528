// song.h: the records of a loaded XM song and of its replay.
//
// The loader fills these in the song's private arena; the replay, the voices
// and the mixer work on them while rendering. One song is played at a time.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>

constexpr int kMaxChannels = 64;
constexpr int kSamplesPerInstrument = 16;
constexpr int kEnvelopePoints = 12;
constexpr int kOutputRate = 48000;        // frames per second of the rendering
constexpr int kRampFrames = 139;          // length of every gain ramp
constexpr int kSampleSpareValues = 3;     // values after a sample's data; the first is the loop guard

enum : uint8_t { LOOP_NONE = 0, LOOP_FORWARD = 1, LOOP_PINGPONG = 2 };
enum : uint8_t { ENV_ON = 1, ENV_SUSTAIN = 2, ENV_LOOP = 4 };

// Sample data converted to 16-bit at load time. Without a loop, loop_start is
// 0 and loop_length the whole sample, so loop_start + loop_length is where
// playback turns or ends either way.
struct TSample {
    uint32_t length = 0;                  // frames
    uint32_t loop_start = 0;
    uint32_t loop_length = 0;
    uint8_t volume = 0;                   // 0..64 in a sane file
    int8_t finetune = 0;
    uint8_t panning = 0;
    int8_t relative_note = 0;
    uint8_t packing = 0;                  // 0xAD: 4-bit ADPCM data
    bool bits16 = false;                  // stored as 16-bit values in the file
    uint8_t loop_type = LOOP_NONE;        // 3 plays as ping-pong
    const int16_t* data = nullptr;        // length + kSampleSpareValues values
};

struct TEnvelopePoint {
    uint16_t x = 0;                       // tick
    uint16_t y = 0;                       // 0..64
};

struct TEnvelope {
    std::array<TEnvelopePoint, kEnvelopePoints> points{};
    uint8_t count = 0;                    // at most kEnvelopePoints
    uint8_t sustain = 0;
    uint8_t loop_start = 0;
    uint8_t loop_end = 0;
    uint8_t type = 0;                     // ENV_* bits; 0 with fewer than 2 points
};

struct TInstrument {
    std::array<TSample*, kSamplesPerInstrument> samples{};   // null: empty slot
    std::array<uint8_t, 96> note_map{};
    TEnvelope volume_envelope;
    TEnvelope panning_envelope;
    uint8_t vibrato_type = 0;
    uint8_t vibrato_sweep = 0;
    uint8_t vibrato_depth = 0;
    uint8_t vibrato_rate = 0;
    uint32_t fadeout = 0;                 // stored doubled
};

struct TCell {
    uint8_t note = 0;                     // 1..96 a note, 97 and up key-off
    uint8_t instrument = 0;               // 1-based, 0 none
    uint8_t volume = 0;                   // volume column
    uint8_t effect = 0;
    uint8_t param = 0;
};

struct TPattern {
    uint16_t rows = 0;
    uint16_t packed_size = 0;
    const TCell* cells = nullptr;         // rows x channels, row by row; null: every cell empty
};

// One envelope as it runs on a channel; value and delta are 16.16 fixed point.
struct TEnvelopeState {
    int32_t tick = 0;
    int32_t index = 0;
    int32_t delta = 0;
    int32_t value = 0;
    int32_t output = 0;                   // volume 0..64; panning 0..64 with 32 the centre
    bool ended = false;
};

struct TChannel {
    bool trigger = false;                 // start the sample at the next voice update
    int32_t instrument = 0;               // 0-based
    int32_t last_note = 0;                // 0-based
    int32_t note_number = 0;              // with the sample's relative note
    int32_t voice = 0;                    // current voice of the pair, 0 or 1
    TSample* sample = nullptr;            // what the last note plays (E5 changes its finetune)

    int32_t period = 0;
    int32_t note_period = 0;              // also the tone-portamento target
    int32_t period_delta = 0;             // vibrato, arpeggio, auto-vibrato; cleared every tick
    int32_t volume = 0;
    int32_t volume_delta = 0;             // tremolo, tremor; cleared every tick
    int32_t fadeout_volume = 0;           // 0..65536
    int32_t keyoff = 0;                   // keyed off when not 0
    int32_t panning = 0;                  // 0..255 (slides of the volume column may leave it)
    TEnvelopeState volume_env;
    TEnvelopeState panning_env;

    int32_t saved_period = 0;             // before this row, for a note delay
    int32_t saved_volume = 0;
    int32_t saved_panning = 0;
    uint32_t start_offset = 0;            // where the next trigger starts the sample

    uint8_t porta_up = 0;
    uint8_t porta_down = 0;
    uint8_t tone_porta_speed = 0;
    uint8_t vibrato_pos = 0;
    uint8_t vibrato_speed = 0;
    uint8_t vibrato_depth = 0;
    uint8_t tremolo_pos = 0;
    uint8_t tremolo_speed = 0;
    uint8_t tremolo_depth = 0;
    uint8_t waveform = 0;                 // vibrato low nibble, tremolo high nibble
    uint8_t volume_slide = 0;
    uint8_t panning_slide = 0;
    int8_t fine_volume_slide = 0;
    uint8_t fine_porta_up = 0;
    uint8_t fine_porta_down = 0;
    uint8_t extra_fine_up = 0;
    uint8_t extra_fine_down = 0;
    uint8_t retrig = 0;                   // volume change high nibble, interval low nibble
    uint8_t tremor = 0;                   // on count high nibble, off count low nibble
    uint8_t tremor_counter = 0;
    uint32_t sample_offset = 0;
    int32_t loop_row = 0;
    uint8_t loop_count = 0;
    uint8_t previous_effect = 0;
    uint8_t autovib_pos = 0;
    int32_t autovib_sweep = 0;
};

// One of a channel's two voices. Positions and steps are 32.32 fixed point in
// frames of the sample.
struct TVoice {
    const TSample* sample = nullptr;      // null: silent and free
    int64_t position = 0;
    int64_t step = 0;
    bool backward = false;                // reverse half of a ping-pong loop
    bool fading = false;                  // left behind by a retrigger; freed once silent
    int32_t final_volume = 0;             // 0..128
    int32_t final_panning = 0;            // 0..255
    int32_t gain_left = 0;                // targets, 0..128
    int32_t gain_right = 0;
    float left = 0.0f;                    // gains sounding now, as multipliers (gain / 255)
    float right = 0.0f;
    int32_t ramp_left = -1;               // targets of the running ramp (-1: none yet)
    int32_t ramp_right = -1;
    float ramp_step_left = 0.0f;
    float ramp_step_right = 0.0f;
    int32_t ramp_frames = 0;              // frames the running ramp still takes
};

struct TSong {
    std::array<char, 21> title{};
    int32_t song_length = 0;
    int32_t restart_position = 0;
    int32_t channel_count = 0;
    int32_t instrument_count = 0;
    int32_t pattern_slots = 0;
    bool linear = false;                  // linear frequency table, else Amiga periods
    std::array<uint8_t, 256> orders{};

    TPattern* patterns = nullptr;         // pattern_slots
    TInstrument* instruments = nullptr;   // instrument_count
    TChannel* channels = nullptr;         // channel_count
    TVoice* voices = nullptr;             // 2 x channel_count
    TSample empty_sample;                 // stands for every missing sample

    int32_t frames_per_tick = 0;
    int32_t frames_left = 0;              // until the next tick
    int32_t tick = 0;                     // within the row; 0 is the row tick
    int32_t speed = 0;                    // ticks per row
    int32_t pattern_delay = 0;            // extra ticks of the current row
    int32_t current_order = 0;
    int32_t current_row = 0;
    int32_t next_order = 0;               // -1: no request; another thread may write
    int32_t next_row = 0;                 // these two (use std::atomic_ref)
    bool jumped = false;                  // a position jump came earlier in this row
    int32_t global_volume = 64;
    uint8_t global_volume_slide = 0;
    uint32_t time = 0;                    // milliseconds

    bool no_loop = false;                 // end at the end of the order list
    // Passes through the song: going on to an order already played in this
    // pass (the end of the list, a jump back) starts the next one.
    std::array<bool, 256> played{};       // orders played in this pass
    int32_t passes = 1;
    int32_t max_passes = 0;               // above 0: end where pass max_passes + 1 would start
    bool end_pending = false;             // the order list ends after this row
    bool ended = false;
};

inline const TInstrument* Song_Instrument(const TSong& song, int32_t index) {
    return index >= 0 && index < song.instrument_count ? &song.instruments[index] : nullptr;
}

// The requested next order and row, which the player's caller may set from its
// own thread while the song renders.
inline std::atomic_ref<int32_t> Song_NextOrder(TSong& song) { return std::atomic_ref<int32_t>(song.next_order); }
inline std::atomic_ref<int32_t> Song_NextRow(TSong& song) { return std::atomic_ref<int32_t>(song.next_row); }

inline int32_t Sample_LoopEnd(const TSample& s) { return static_cast<int32_t>(s.loop_start + s.loop_length); }
