// xm_builder.cpp: writing XM files in the published layout.
#include "tests/music/xm_builder.h"

#include <algorithm>

#include "music/replay.h"
#include "music/source.h"
#include "music/xm_loader.h"

namespace {

void U8(std::vector<uint8_t>& b, uint32_t v) { b.push_back(static_cast<uint8_t>(v)); }
void U16(std::vector<uint8_t>& b, uint32_t v) {
    U8(b, v);
    U8(b, v >> 8);
}
void U32(std::vector<uint8_t>& b, uint32_t v) {
    U16(b, v);
    U16(b, v >> 16);
}
void Text(std::vector<uint8_t>& b, const std::string& s, size_t n) {
    for (size_t i = 0; i < n; ++i) U8(b, i < s.size() ? uint8_t(s[i]) : 0);
}

void Pattern(std::vector<uint8_t>& b, const XmPattern& p) {
    std::vector<uint8_t> packed;
    for (const TCell& c : p.cells) {
        U8(packed, 0x9F);
        U8(packed, c.note);
        U8(packed, c.instrument);
        U8(packed, c.volume);
        U8(packed, c.effect);
        U8(packed, c.param);
    }
    U32(b, 9);
    U8(b, 0);
    U16(b, p.rows);
    U16(b, static_cast<uint32_t>(packed.size()));
    b.insert(b.end(), packed.begin(), packed.end());
}

void Envelope(std::vector<uint8_t>& b, const XmEnvelope& e) {
    for (size_t i = 0; i < 12; ++i) {
        U16(b, i < e.points.size() ? e.points[i].x : 0);
        U16(b, i < e.points.size() ? e.points[i].y : 0);
    }
}

void Instrument(std::vector<uint8_t>& b, const XmInstrument& ins) {
    const bool has_samples = !ins.samples.empty();
    U32(b, has_samples ? 263 : 33);
    Text(b, "instrument", 22);
    U8(b, 0);
    U16(b, static_cast<uint32_t>(ins.samples.size()));
    U32(b, ins.sample_header_size);
    if (!has_samples) return;
    b.insert(b.end(), ins.note_map.begin(), ins.note_map.end());
    Envelope(b, ins.volume_envelope);
    Envelope(b, ins.panning_envelope);
    U8(b, static_cast<uint32_t>(ins.volume_envelope.points.size()));
    U8(b, static_cast<uint32_t>(ins.panning_envelope.points.size()));
    for (const XmEnvelope* e : {&ins.volume_envelope, &ins.panning_envelope}) {
        U8(b, e->sustain);
        U8(b, e->loop_start);
        U8(b, e->loop_end);
    }
    U8(b, ins.volume_envelope.type);
    U8(b, ins.panning_envelope.type);
    U8(b, ins.vibrato_type);
    U8(b, ins.vibrato_sweep);
    U8(b, ins.vibrato_depth);
    U8(b, ins.vibrato_rate);
    U16(b, ins.fadeout);
    Text(b, "", 22);
    for (const XmSample& s : ins.samples) {
        std::vector<uint8_t> h;
        U32(h, s.length);
        U32(h, s.loop_start);
        U32(h, s.loop_length);
        U8(h, s.volume);
        U8(h, static_cast<uint8_t>(s.finetune));
        U8(h, s.type);
        U8(h, s.panning);
        U8(h, static_cast<uint8_t>(s.relative_note));
        U8(h, s.packing);
        Text(h, "sample", 22);
        h.resize(ins.sample_header_size, 0);
        b.insert(b.end(), h.begin(), h.end());
    }
    for (const XmSample& s : ins.samples) b.insert(b.end(), s.data.begin(), s.data.end());
}

}  // namespace

std::vector<uint8_t> Xm_Build(const XmSong& song) {
    std::vector<uint8_t> b;
    Text(b, "Extended Module: ", 17);
    Text(b, song.title, 20);
    U8(b, 0x1A);
    Text(b, "korvamo tests", 20);
    U16(b, 0x0104);
    U32(b, 276);
    U16(b, static_cast<uint32_t>(song.song_length >= 0 ? song.song_length : int(song.orders.size())));
    U16(b, song.restart);
    U16(b, song.channels);
    U16(b, static_cast<uint32_t>(song.pattern_count >= 0 ? song.pattern_count : int(song.patterns.size())));
    U16(b, static_cast<uint32_t>(song.instrument_count >= 0 ? song.instrument_count : int(song.instruments.size())));
    U16(b, song.flags);
    U16(b, song.tempo);
    U16(b, song.bpm);
    for (size_t i = 0; i < 256; ++i) U8(b, i < song.orders.size() ? song.orders[i] : 0);
    for (const XmPattern& p : song.patterns) Pattern(b, p);
    for (const XmInstrument& ins : song.instruments) Instrument(b, ins);
    return b;
}

std::vector<uint8_t> Xm_Delta8(const std::vector<int8_t>& values) {
    std::vector<uint8_t> out;
    int8_t previous = 0;
    for (int8_t v : values) {
        out.push_back(static_cast<uint8_t>(v - previous));
        previous = v;
    }
    return out;
}

std::vector<uint8_t> Xm_Delta16(const std::vector<int16_t>& values) {
    std::vector<uint8_t> out;
    int16_t previous = 0;
    for (int16_t v : values) {
        U16(out, static_cast<uint16_t>(v - previous));
        previous = v;
    }
    return out;
}

XmSample Xm_Sample8(const std::vector<int8_t>& values, uint8_t loop_type, uint32_t loop_start, uint32_t loop_length) {
    XmSample s;
    s.data = Xm_Delta8(values);
    s.length = static_cast<uint32_t>(values.size());
    s.type = loop_type;
    s.loop_start = loop_start;
    s.loop_length = loop_length;
    return s;
}

XmPattern Xm_Pattern(uint16_t rows, uint16_t channels) {
    XmPattern p;
    p.rows = rows;
    p.cells.assign(size_t(rows) * channels, TCell{});
    return p;
}

TCell& Xm_Cell(XmPattern& pattern, uint16_t channels, int row, int channel) {
    return pattern.cells[size_t(row) * channels + size_t(channel)];
}

XmSong Xm_ToneSong(uint16_t rows, uint16_t channels) {
    XmSong s;
    s.channels = channels;
    s.patterns = {Xm_Pattern(rows, channels)};
    std::vector<int8_t> wave(32);
    for (int i = 0; i < 32; ++i) wave[i] = int8_t(i < 16 ? 100 : -100);
    XmInstrument ins;
    ins.samples = {Xm_Sample8(wave, LOOP_FORWARD, 0, 32)};
    s.instruments = {ins};
    return s;
}

void Xm_Load(LoadedSong& out, const std::vector<uint8_t>& bytes) {
    ByteSource src = Source_OpenMemory(bytes.data(), static_cast<uint32_t>(bytes.size()));
    out.ok = Song_Load(out.song, src, out.arena);
}

std::vector<float> Xm_RenderTick(TSong& song) {
    std::vector<float> out = Xm_Render(song, 1);
    const std::vector<float> rest = Xm_Render(song, song.frames_left);
    out.insert(out.end(), rest.begin(), rest.end());
    return out;
}

void Xm_RenderTicks(TSong& song, int count) {
    for (int i = 0; i < count; ++i) Xm_RenderTick(song);
}

std::vector<float> Xm_Render(TSong& song, int frames) {
    std::vector<float> out(size_t(frames) * 2, 0.0f);
    Song_Render(song, out.data(), frames);
    return out;
}
