// xm_file.cpp: writing an XM module byte by byte.
#include "xm_file.h"

#include <algorithm>

namespace assetgen {

namespace {

using Bytes = std::vector<uint8_t>;

void U8(Bytes& b, uint32_t v) { b.push_back(static_cast<uint8_t>(v)); }
void U16(Bytes& b, uint32_t v) {
    U8(b, v);
    U8(b, v >> 8);
}
void U32(Bytes& b, uint32_t v) {
    U16(b, v);
    U16(b, v >> 16);
}
void Text(Bytes& b, const std::string& s, size_t n) {
    for (size_t i = 0; i < n; ++i) U8(b, i < s.size() ? static_cast<uint8_t>(s[i]) : 0);
}

// A cell is packed as a flag byte (bit 7 set) followed by the fields it names.
void PackCell(Bytes& b, const XmCell& c) {
    const uint8_t fields[] = {c.note, c.instrument, c.volume, c.effect, c.param};
    uint8_t flags = 0x80;
    for (int i = 0; i < 5; ++i)
        if (fields[i]) flags |= static_cast<uint8_t>(1 << i);
    U8(b, flags);
    for (uint8_t f : fields)
        if (f) U8(b, f);
}

void Pattern(Bytes& b, const XmPattern& p) {
    Bytes packed;
    for (const XmCell& c : p.cells) PackCell(packed, c);
    U32(b, 9);
    U8(b, 0);
    U16(b, static_cast<uint32_t>(p.rows));
    U16(b, static_cast<uint32_t>(packed.size()));
    b.insert(b.end(), packed.begin(), packed.end());
}

void Instrument(Bytes& b, const XmInstrument& ins) {
    U32(b, 263);
    Text(b, ins.name, 22);
    U8(b, 0);
    U16(b, 1);                                // one sample
    U32(b, 40);                               // sample header size
    Text(b, "", 96);                          // every note plays sample 0
    const XmEnvelope& env = ins.volume_envelope;
    for (size_t i = 0; i < 12; ++i) {
        U16(b, i < env.points.size() ? env.points[i].tick : 0);
        U16(b, i < env.points.size() ? env.points[i].value : 0);
    }
    Text(b, "", 48);                          // no panning envelope
    U8(b, static_cast<uint32_t>(env.points.size()));
    U8(b, 0);
    U8(b, env.sustain);
    Text(b, "", 5);                           // loop points of both envelopes, panning sustain
    U8(b, env.type);
    U8(b, 0);
    Text(b, "", 4);                           // no auto-vibrato
    U16(b, ins.fadeout);
    Text(b, "", 22);

    const uint32_t bytes = static_cast<uint32_t>(ins.sample.size() * 2);
    U32(b, bytes);
    U32(b, ins.loop ? ins.loop_start * 2 : 0);
    U32(b, ins.loop ? ins.loop_length * 2 : 0);
    U8(b, ins.volume);
    U8(b, 0);                                 // finetune
    U8(b, 0x10u | (ins.loop ? 1u : 0u));      // 16-bit, forward loop
    U8(b, ins.panning);
    U8(b, static_cast<uint8_t>(ins.relative_note));
    U8(b, 0);
    Text(b, ins.name, 22);
    int16_t previous = 0;
    for (int16_t v : ins.sample) {
        U16(b, static_cast<uint16_t>(v - previous));
        previous = v;
    }
}

}  // namespace

XmPattern::XmPattern(int row_count, int channel_count)
    : rows(row_count), channels(channel_count), cells(static_cast<size_t>(row_count * channel_count)) {}

XmCell& XmPattern::At(int row, int channel) { return cells[static_cast<size_t>(row * channels + channel)]; }

std::vector<uint8_t> EncodeXm(const XmModule& m) {
    Bytes b;
    Text(b, "Extended Module: ", 17);
    Text(b, m.title, 20);
    U8(b, 0x1A);
    Text(b, "korvamo assetgen", 20);
    U16(b, 0x0104);
    U32(b, 276);
    U16(b, static_cast<uint32_t>(m.orders.size()));
    U16(b, static_cast<uint32_t>(m.restart));
    U16(b, static_cast<uint32_t>(m.channels));
    U16(b, static_cast<uint32_t>(m.patterns.size()));
    U16(b, static_cast<uint32_t>(m.instruments.size()));
    U16(b, 1);                                // linear frequency table
    U16(b, static_cast<uint32_t>(m.tempo));
    U16(b, static_cast<uint32_t>(m.bpm));
    for (size_t i = 0; i < 256; ++i) U8(b, i < m.orders.size() ? m.orders[i] : 0);
    for (const XmPattern& p : m.patterns) Pattern(b, p);
    for (const XmInstrument& ins : m.instruments) Instrument(b, ins);
    return b;
}

}  // namespace assetgen
