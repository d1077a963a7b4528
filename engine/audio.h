// audio.h: the engine's mixer: sound effects and the music's wave stream on
// one output of 48000 Hz stereo.
//
// The Snd_* and WaveOut_* calls of oe.h are built on this. A real device pulls
// frames through Audio_Mix from its own thread; without one the loop calls
// Audio_Advance with the time that passed, so effects end and the music's play
// position moves on exactly as if they had been heard.
#pragma once

#include <cstdint>

namespace oe {

constexpr int kMixRate = 48000;          // output frames per second
constexpr int kMaxSoundVoices = 32;      // copies of one sound that may sound at once

// Renders `frames` frames of interleaved 16-bit stereo: every playing voice plus
// the wave stream, clipped. Consumes what it renders.
void Audio_Mix(int16_t* out, int frames);

// Opens the one audio device (48000 Hz, stereo, 16-bit) whose callback calls
// Audio_Mix. False when no device can be opened; the game then runs silently.
bool Audio_OpenDevice();
void Audio_CloseDevice();
bool Audio_HasDevice();

// Moves voices and the wave stream on by `ms` milliseconds without rendering
// (48 frames per millisecond, fractions kept). Does nothing while a device plays.
void Audio_Advance(double ms);

// Stops every voice, frees every sound, closes the wave stream and the device.
void Audio_ReleaseAll();

}  // namespace oe
