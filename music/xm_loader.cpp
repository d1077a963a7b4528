// xm_loader.cpp: the module header, patterns, instruments and sample data.
#include "music/xm_loader.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string>

namespace {

constexpr int kHeaderBytes = 336;             // module header and the order table
constexpr int kPatternHeaderBytes = 9;
constexpr int kInstrumentHeadBytes = 33;      // size, name, type, sample count, sample header size
constexpr int kInstrumentBodyBytes = 208;     // note map .. fade-out
constexpr int kSampleHeaderBytes = 40;
constexpr uint32_t kMaxSampleFrames = 4194304;
constexpr int kEmptyPatternRows = 64;
constexpr char kSignature[] = "Extended Module: ";
constexpr uint16_t kVersion = 0x0104;         // the layout this loader reads

// Says why the data is refused, for whoever asked; always false.
bool Refuse(std::string* why, const std::string& reason) {
    if (why) *why = reason;
    return false;
}

std::string Number(int64_t n) { return std::to_string(n); }

constexpr const char* kNoMemory = "the song needs more memory than the player allows";

// Little-endian fields.
uint16_t U16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t U32(const uint8_t* p) { return U16(p) | (uint32_t(U16(p + 2)) << 16); }

uint8_t ReadByte(ByteSource& src) {
    uint8_t b;
    Source_Read(src, &b, 1);
    return b;
}

// The 20-byte module name without its control bytes.
void CopyTitle(TSong& song, const uint8_t* name) {
    int n = 0;
    for (int i = 0; i < 20; ++i)
        if (name[i] >= 32) song.title[n++] = static_cast<char>(name[i]);
    song.title[n] = '\0';
}

// One pattern's cells in the packed scheme: a byte with bit 7 set says which of
// the five fields follow; any other byte is the note, followed by all four.
void UnpackCells(ByteSource& src, TCell* cells, int count, int instrument_count) {
    for (int i = 0; i < count; ++i) {
        TCell& c = cells[i];
        const uint8_t first = ReadByte(src);
        const uint8_t what = (first & 0x80) ? first : 0x1F;
        if (!(first & 0x80)) c.note = first;
        else if (what & 1) c.note = ReadByte(src);
        if (what & 2) c.instrument = ReadByte(src);
        if (what & 4) c.volume = ReadByte(src);
        if (what & 8) c.effect = ReadByte(src);
        if (what & 16) c.param = ReadByte(src);
        if (c.instrument > instrument_count) c.instrument = 0;
    }
}

// The `stored` patterns of the file, then 64 empty rows for every slot the
// order table names beyond them. False on a rejected row count or a failed
// allocation.
bool LoadPatterns(TSong& song, ByteSource& src, TArena& arena, int stored, std::string* why) {
    for (int p = 0; p < stored; ++p) {
        std::array<uint8_t, kPatternHeaderBytes> h;
        Source_Read(src, h.data(), kPatternHeaderBytes);
        TPattern& pat = song.patterns[p];
        pat.rows = U16(&h[5]);
        pat.packed_size = U16(&h[7]);
        if (pat.packed_size == 0) {
            // Nothing stored: every cell is empty. A header of 0 rows plays as
            // the patterns a file lacks do.
            if (pat.rows == 0) pat.rows = kEmptyPatternRows;
            continue;
        }
        if (pat.rows < 1 || pat.rows > 256)
            return Refuse(why, "pattern " + Number(p) + " has " + Number(pat.rows) + " rows (1 to 256 are allowed)");
        const int count = pat.rows * song.channel_count;
        TCell* cells = Arena_New<TCell>(arena, size_t(count));
        if (!cells) return Refuse(why, kNoMemory);
        UnpackCells(src, cells, count, song.instrument_count);
        pat.cells = cells;
    }
    for (int p = stored; p < song.pattern_slots; ++p) song.patterns[p].rows = kEmptyPatternRows;
    return true;
}

// One envelope from its points and its count, sustain, loop start and loop
// end bytes; at most 12 points of at most 64, and off with fewer than 2.
void ReadEnvelope(TEnvelope& env, const uint8_t* points, const uint8_t* counts_etc, uint8_t type) {
    env.count = std::min<uint8_t>(counts_etc[0], kEnvelopePoints);
    for (int i = 0; i < env.count; ++i) {
        env.points[i].x = U16(points + 4 * i);
        env.points[i].y = std::min<uint16_t>(U16(points + 4 * i + 2), 64);
    }
    env.sustain = counts_etc[1];
    env.loop_start = counts_etc[2];
    env.loop_end = counts_etc[3];
    env.type = env.count < 2 ? 0 : type;
}

// The 208 bytes after the instrument's head: note map, envelopes, auto-vibrato, fade-out.
void ReadInstrumentBody(TInstrument& ins, const uint8_t* b) {
    std::copy(b, b + 96, ins.note_map.begin());
    const std::array<uint8_t, 4> vol = {b[192], b[194], b[195], b[196]};
    const std::array<uint8_t, 4> pan = {b[193], b[197], b[198], b[199]};
    ReadEnvelope(ins.volume_envelope, b + 96, vol.data(), b[200]);
    ReadEnvelope(ins.panning_envelope, b + 144, pan.data(), b[201]);
    ins.vibrato_type = b[202];
    ins.vibrato_sweep = b[203];
    ins.vibrato_depth = b[204];
    ins.vibrato_rate = b[205];
    ins.fadeout = uint32_t(U16(b + 206)) * 2;
}

// One sample header (`header_size` bytes, the rest as zeros) with its loop
// brought inside the sample; null when the record cannot be allocated.
TSample* ReadSampleHeader(ByteSource& src, TArena& arena, uint32_t header_size) {
    std::array<uint8_t, kSampleHeaderBytes> h{};
    Source_Read(src, h.data(), header_size);
    TSample* s = Arena_New<TSample>(arena, 1);
    if (!s) return nullptr;
    const uint8_t type = h[14];
    s->length = U32(&h[0]);
    s->loop_start = U32(&h[4]);
    s->loop_length = U32(&h[8]);
    if (type & 0x10) {
        s->length /= 2;
        s->loop_start /= 2;
        s->loop_length /= 2;
    }
    s->loop_start = std::min(s->loop_start, s->length);
    s->loop_length = std::min(s->loop_length, s->length - s->loop_start);
    s->loop_type = type & 3;
    if (s->loop_type == LOOP_NONE || s->loop_length == 0) {
        s->loop_type = LOOP_NONE;
        s->loop_start = 0;
        s->loop_length = s->length;
    }
    s->volume = h[12];
    s->finetune = static_cast<int8_t>(h[13]);
    s->panning = h[15];
    s->relative_note = static_cast<int8_t>(h[16]);
    s->packing = h[17];
    s->bits16 = (type & 0x10) != 0;
    return s;
}

// Reads `count` bytes in pieces and hands each byte to `take`.
template <typename Take>
void ReadBytes(ByteSource& src, uint32_t count, Take take) {
    std::array<uint8_t, 4096> buf;
    while (count > 0) {
        const uint32_t n = std::min<uint32_t>(count, buf.size());
        Source_Read(src, buf.data(), n);
        for (uint32_t i = 0; i < n; ++i) take(buf[i]);
        count -= n;
    }
}

// The sample's data as 16-bit values, delta or ADPCM decoded, with its loop
// guard. False for 4194304 frames or more or a failed allocation.
bool ReadSampleData(TSample& s, ByteSource& src, TArena& arena, std::string* why) {
    if (s.length >= kMaxSampleFrames)
        return Refuse(why, "a sample has " + Number(s.length) + " frames (at most " + Number(kMaxSampleFrames - 1) + ")");
    int16_t* data = Arena_New<int16_t>(arena, size_t(s.length) + kSampleSpareValues);
    if (!data) return Refuse(why, kNoMemory);
    uint32_t n = 0;
    if (s.packing == 0xAD) {
        std::array<uint8_t, 16> table;
        Source_Read(src, table.data(), 16);
        uint8_t value = 0;
        ReadBytes(src, (s.length + 1) / 2, [&](uint8_t b) {
            for (uint8_t nibble : {uint8_t(b & 15), uint8_t(b >> 4)}) {
                value = static_cast<uint8_t>(value + table[nibble]);
                if (n < s.length) data[n++] = static_cast<int16_t>(int8_t(value) * 256);
            }
        });
    } else {
        uint16_t value = 0;
        if (s.bits16) {
            bool low = true;
            uint16_t word = 0;
            ReadBytes(src, s.length * 2, [&](uint8_t b) {
                if (low) {
                    word = b;
                } else {
                    value = static_cast<uint16_t>(value + (word | (b << 8)));
                    data[n++] = static_cast<int16_t>(value);
                }
                low = !low;
            });
        } else {
            ReadBytes(src, s.length, [&](uint8_t b) {
                value = static_cast<uint16_t>(value + (b << 8));
                data[n++] = static_cast<int16_t>(value);
            });
        }
    }
    // The guard after the loop lets the mixer interpolate across the turn.
    const uint32_t end = s.loop_start + s.loop_length;
    if (s.loop_type == LOOP_FORWARD) data[end] = data[s.loop_start];
    else if (s.loop_type != LOOP_NONE) data[end] = data[end - 1];
    s.data = data;
    return true;
}

// One instrument with its sample headers and data. False when rejected.
bool LoadInstrument(TInstrument& ins, int number, ByteSource& src, TArena& arena, std::string* why) {
    std::array<uint8_t, kInstrumentHeadBytes> head;
    Source_Read(src, head.data(), kInstrumentHeadBytes);
    const int64_t header_size = U32(&head[0]);
    const int sample_count = head[27];
    const uint32_t sample_header_size = U32(&head[29]);
    if (sample_count == 0) {
        Source_Seek(src, header_size - kInstrumentHeadBytes, 1);
        return true;
    }
    const std::string which = "instrument " + Number(number) + " ";
    if (sample_count > kSamplesPerInstrument)
        return Refuse(why, which + "has " + Number(sample_count) + " samples (at most " + Number(kSamplesPerInstrument) + ")");
    if (sample_header_size >= kSampleHeaderBytes + 1)
        return Refuse(why, which + "has sample headers of " + Number(sample_header_size) + " bytes (at most " +
                               Number(kSampleHeaderBytes) + ")");
    std::array<uint8_t, kInstrumentBodyBytes> body;
    Source_Read(src, body.data(), kInstrumentBodyBytes);
    Source_Seek(src, header_size - kInstrumentHeadBytes - kInstrumentBodyBytes, 1);
    ReadInstrumentBody(ins, body.data());

    std::array<TSample*, kSamplesPerInstrument> samples{};
    for (int i = 0; i < sample_count; ++i)
        if (!(samples[i] = ReadSampleHeader(src, arena, sample_header_size)))
            return Refuse(why, kNoMemory);
    for (int i = 0; i < sample_count; ++i) {
        if (!ReadSampleData(*samples[i], src, arena, why)) return why ? Refuse(why, which + "refused: " + *why) : false;
        ins.samples[i] = samples[i];
    }
    return true;
}

}  // namespace

bool Song_Load(TSong& song, ByteSource& source, TArena& arena, std::string* why) {
    song = TSong{};
    std::array<uint8_t, kHeaderBytes> h;
    Source_Read(source, h.data(), kHeaderBytes);
    if (std::memcmp(h.data(), kSignature, sizeof kSignature - 1) != 0)
        return Refuse(why, "not an XM file (it does not begin with \"Extended Module: \")");
    if (const uint16_t version = U16(&h[58]); version != kVersion)
        return Refuse(why, "XM version " + Number(version >> 8) + "." + (version % 256 < 16 ? "0" : "") +
                               Number(version % 256) + " is not supported (only 1.04)");
    Source_Seek(source, 60 + int64_t(U32(&h[60])), 0);
    CopyTitle(song, &h[17]);

    song.song_length = U16(&h[64]);
    const int pattern_count = U16(&h[70]);
    if (song.song_length < 1 || song.song_length > 256)
        return Refuse(why, "an order list of " + Number(song.song_length) + " entries (1 to 256 are allowed)");
    if (pattern_count < 1) return Refuse(why, "no patterns");
    std::copy(h.begin() + 80, h.begin() + 336, song.orders.begin());
    const int highest = *std::max_element(song.orders.begin(), song.orders.begin() + song.song_length);
    song.pattern_slots = std::max(pattern_count, highest + 1);
    song.channel_count = h[68];
    if (song.channel_count < 1 || song.channel_count > kMaxChannels)
        return Refuse(why, Number(song.channel_count) + " channels (1 to " + Number(kMaxChannels) + " are allowed)");
    song.instrument_count = h[72];
    song.restart_position = U16(&h[66]) < song.song_length ? U16(&h[66]) : 0;
    song.linear = (h[74] & 1) != 0;

    song.channels = Arena_New<TChannel>(arena, size_t(song.channel_count));
    song.voices = Arena_New<TVoice>(arena, size_t(song.channel_count) * 2);
    song.patterns = Arena_New<TPattern>(arena, size_t(song.pattern_slots));
    song.instruments = Arena_New<TInstrument>(arena, std::max(song.instrument_count, 1));
    if (!song.channels || !song.voices || !song.patterns || !song.instruments)
        return Refuse(why, kNoMemory);

    const int bpm = U16(&h[78]);
    song.frames_per_tick = bpm == 0 ? 120000 : 120000 / bpm;
    song.global_volume = 64;
    song.speed = U16(&h[76]);

    if (!LoadPatterns(song, source, arena, pattern_count, why)) return false;
    for (int i = 0; i < song.instrument_count; ++i)
        if (!LoadInstrument(song.instruments[i], i + 1, source, arena, why)) return false;
    return true;
}
