// menu_song.cpp: the menu tune, written out pattern by pattern.
//
// A row is a sixteenth note (6 ticks at 150 BPM, 100 ms); a pattern is four
// bars over a four-chord progression. The pads sound through every pattern,
// so no stretch of the song is silent.
#include <array>
#include <sstream>
#include <string>

#include "menu_song.h"

namespace assetgen {

namespace {

enum : uint8_t { KICK = 1, SNARE, HAT, OPEN_HAT, BASS, PAD, PLUCK, LEAD };
enum { CH_KICK, CH_SNARE, CH_HAT, CH_BASS, CH_PAD, CH_ARP = CH_PAD + 3, CH_LEAD, kChannels };

constexpr int kBarRows = 16;
constexpr int kBars = 4;
constexpr uint8_t kArpeggio = 0x0, kPortaUp = 0x1, kTonePorta = 0x3, kVibrato = 0x4, kVolumeSlide = 0xA;

// "A4", "C#5": the XM note, C-0 being 1.
uint8_t Note(const std::string& name) {
    static const int kSemitone[] = {9, 11, 0, 2, 4, 5, 7};   // A B C D E F G
    int semitone = kSemitone[name[0] - 'A'];
    size_t i = 1;
    if (name[i] == '#') {
        ++semitone;
        ++i;
    }
    return static_cast<uint8_t>((name[i] - '0') * 12 + semitone + 1);
}

uint8_t Volume(int v) { return static_cast<uint8_t>(0x10 + v); }   // volume column: set volume

struct Chord {
    std::array<const char*, 3> pad;   // voicing around middle C
    const char* bass;                 // root, pumped with its octave
    const char* arp;                  // the pluck's note
    uint8_t arpeggio;                 // its arpeggio: 0x37 minor, 0x47 major
};

const Chord kAm{{"A3", "C4", "E4"}, "A2", "A4", 0x37};
const Chord kF{{"A3", "C4", "F4"}, "F2", "F4", 0x47};
const Chord kC{{"G3", "C4", "E4"}, "C3", "C5", 0x47};
const Chord kG{{"G3", "B3", "D4"}, "G2", "G4", 0x47};
const Chord kEm{{"G3", "B3", "E4"}, "E2", "E4", 0x37};
const Chord kDm{{"A3", "D4", "F4"}, "D3", "D4", 0x37};
const Chord kE{{"G#3", "B3", "E4"}, "E2", "E4", 0x47};

using Progression = std::array<Chord, kBars>;
using Melody = std::array<const char*, kBars>;   // sixteen tokens a bar

enum class Drums { Intro, Full, Breakdown, Build };

struct Section {
    Progression chords;
    Drums drums;
    bool bass;
    Melody lead;
    int lead_volume;
};

void Pads(XmPattern& p, const Progression& chords) {
    static const uint8_t kPan[] = {0xC5, 0xC8, 0xCB};   // volume column: left, centre, right
    for (int bar = 0; bar < kBars; ++bar)
        for (int v = 0; v < 3; ++v) p.At(bar * kBarRows, CH_PAD + v) = {Note(chords[bar].pad[v]), PAD, kPan[v], 0, 0};
}

// Eighth notes, root and octave in turn; the last bar of a build climbs into the next pattern.
void Bass(XmPattern& p, const Progression& chords, bool climb) {
    for (int bar = 0; bar < kBars; ++bar) {
        const uint8_t root = Note(chords[bar].bass);
        for (int step = 0; step < kBarRows; step += 2) {
            const uint8_t note = step % 4 == 0 ? root : static_cast<uint8_t>(root + 12);
            p.At(bar * kBarRows + step, CH_BASS) = {note, BASS, 0, 0, 0};
        }
    }
    if (climb)
        for (int row = 3 * kBarRows + 13; row < 4 * kBarRows; ++row) p.At(row, CH_BASS) = {0, 0, 0, kPortaUp, 0x0C};
}

// A pluck every eighth note, its arpeggio running through the chord on every row.
void Arpeggio(XmPattern& p, const Progression& chords) {
    for (int bar = 0; bar < kBars; ++bar)
        for (int step = 0; step < kBarRows; ++step) {
            XmCell& c = p.At(bar * kBarRows + step, CH_ARP);
            c = {0, 0, 0, kArpeggio, chords[bar].arpeggio};
            if (step % 2 == 0) {
                c.note = Note(chords[bar].arp);
                c.instrument = PLUCK;
                c.volume = Volume(step % 4 == 0 ? 34 : 22);
            }
        }
}

void Hats(XmPattern& p, int bar, bool soft) {
    for (int step = 0; step < kBarRows; ++step) {
        const int row = bar * kBarRows + step;
        if (step % 4 == 2) p.At(row, CH_HAT) = {Note("C4"), OPEN_HAT, Volume(soft ? 14 : 24), 0, 0};
        else if (!soft || step % 2 == 0) p.At(row, CH_HAT) = {Note("C4"), HAT, Volume(step % 2 ? 18 : 30), 0, 0};
    }
}

void Kicks(XmPattern& p, int bar, bool pickup) {
    for (int step = 0; step < kBarRows; step += 4) p.At(bar * kBarRows + step, CH_KICK) = {Note("C4"), KICK, 0, 0, 0};
    if (pickup) p.At(bar * kBarRows + 14, CH_KICK) = {Note("C4"), KICK, Volume(44), 0, 0};
}

void Snare(XmPattern& p, int row, int volume) { p.At(row, CH_SNARE) = {Note("C4"), SNARE, Volume(volume), 0, 0}; }

void Backbeat(XmPattern& p, int bar) {
    Snare(p, bar * kBarRows + 4, 52);
    Snare(p, bar * kBarRows + 12, 52);
}

void DrumPart(XmPattern& p, Drums style) {
    for (int bar = 0; bar < kBars; ++bar) {
        const int first = bar * kBarRows;
        switch (style) {
            case Drums::Intro:
                Hats(p, bar, bar < 2);
                if (bar >= 2) Kicks(p, bar, false);
                if (bar == 3)
                    for (int step = 8; step < kBarRows; step += 2) Snare(p, first + step, 20 + 3 * step);
                break;
            case Drums::Full:
                Hats(p, bar, false);
                Kicks(p, bar, bar == 3);
                Backbeat(p, bar);
                break;
            case Drums::Breakdown:
                Hats(p, bar, true);
                if (bar == 0) Kicks(p, bar, false);
                break;
            case Drums::Build:
                Hats(p, bar, bar < 2);
                Kicks(p, bar, false);
                // The snare doubles its pace every bar and swells into the next pattern.
                for (int step = 0; step < kBarRows; step += bar < 2 ? 8 : (bar == 2 ? 2 : 1))
                    Snare(p, first + step + (bar < 2 ? 4 : 0), bar < 2 ? 56 : 24 + (bar - 2) * 16 + step * 3 / 2);
                break;
        }
    }
}

// Tokens, one a row: a note ("A4"), a slide to a note ("/A4"), "." to hold,
// "~" to hold with vibrato, ">" to hold fading, "^" to release.
void Lead(XmPattern& p, const Melody& melody, int volume) {
    bool sliding = false;
    for (int bar = 0; bar < kBars; ++bar) {
        std::istringstream tokens(melody[bar]);
        std::string t;
        for (int row = bar * kBarRows; row < (bar + 1) * kBarRows && tokens >> t; ++row) {
            XmCell& c = p.At(row, CH_LEAD);
            if (t == ".") {
                if (sliding) c = {0, 0, 0, kTonePorta, 0};
            } else if (t == "~") {
                c = {0, 0, 0, kVibrato, 0x56};
            } else if (t == ">") {
                c = {0, 0, 0, kVolumeSlide, 0x03};
            } else if (t == "^") {
                c = {kXmKeyOff, 0, 0, 0, 0};
            } else if (t[0] == '/') {
                c = {Note(t.substr(1)), 0, 0, kTonePorta, 0x18};
            } else {
                c = {Note(t), LEAD, Volume(volume), 0, 0};
            }
            if (t != ".") sliding = t[0] == '/';
        }
    }
}

XmPattern Compose(const Section& s) {
    XmPattern p(kBars * kBarRows, kChannels);
    Pads(p, s.chords);
    Arpeggio(p, s.chords);
    DrumPart(p, s.drums);
    if (s.bass) Bass(p, s.chords, s.drums == Drums::Build);
    Lead(p, s.lead, s.lead_volume);
    return p;
}

const Progression kVerse{kAm, kF, kC, kG};
const Melody kRest{"", "", "", ""};

const Section kSections[] = {
    {kVerse, Drums::Intro, false, kRest, 0},
    {kVerse, Drums::Full, true,
     {"A4 . . C5 . . E5 . ~ ~ D5 . C5 . B4 .", "C5 . . A4 . . F4 . ~ ~ ~ ~ A4 . C5 .",
      "G4 . . C5 . . E5 . G5 . ~ ~ ~ ~ E5 .", "/D5 . ~ ~ ~ ~ ~ ~ B4 . G4 . D5 . B4 ."},
     48},
    {kVerse, Drums::Full, true,
     {"A4 . . C5 . . E5 . A5 . ~ ~ G5 . E5 .", "F5 . . E5 . . C5 . ~ ~ ~ ~ A4 . C5 .",
      "E5 . . G5 . . /C6 . ~ ~ ~ ~ B5 . G5 .", "/B5 . ~ ~ ~ ~ > > > > ^ . D5 . E5 ."},
     48},
    {{kF, kG, kEm, kAm}, Drums::Full, true,
     {"F5 . . . E5 . . . C5 . . . A4 . C5 .", "D5 . . . E5 . D5 . B4 . . . G4 . A4 .",
      "B4 . . . E5 . . . G5 . ~ ~ ~ ~ E5 .", "/A5 . ~ ~ ~ ~ ~ ~ > > > > E5 . G5 ."},
     52},
    {{kDm, kF, kG, kE}, Drums::Full, true,
     {"A5 . . . F5 . . . D5 . . . F5 . A5 .", "C6 . . . A5 . . . F5 . . . A5 . C6 .",
      "/B5 . ~ ~ ~ ~ G5 . D5 . ~ ~ B4 . D5 .", "/E5 . ~ ~ ~ ~ ~ ~ > > > > > > ^ ."},
     52},
    {kVerse, Drums::Breakdown, false,
     {"E5 . ~ ~ ~ ~ ~ ~ D5 . ~ ~ C5 . ~ ~", "C5 . ~ ~ ~ ~ ~ ~ A4 . ~ ~ > > > >",
      "G4 . ~ ~ ~ ~ ~ ~ C5 . ~ ~ E5 . ~ ~", "/D5 . ~ ~ ~ ~ ~ ~ > > > > > > ^ ."},
     34},
    {kVerse, Drums::Build, true,
     {"", "", "E5 . E5 . G5 . E5 . A5 . E5 . G5 . E5 .", "D5 . D5 . G5 . D5 . B5 . ~ ~ ~ ~ ~ ~"},
     40},
};

}  // namespace

XmModule MakeMenuSong() {
    XmModule song;
    song.title = "Korvamo menu";
    song.channels = kChannels;
    song.tempo = 6;
    song.bpm = 150;
    for (const Section& s : kSections) song.patterns.push_back(Compose(s));
    // Intro, verse twice, chorus twice, breakdown, build, then verses and
    // chorus again; the loop skips the intro.
    song.orders = {0, 1, 2, 3, 4, 5, 6, 1, 2, 3, 4};
    song.restart = 1;
    song.instruments = MakeMenuInstruments();
    return song;
}

}  // namespace assetgen
