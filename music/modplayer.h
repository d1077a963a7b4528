// modplayer.h: the module player's public operations. One XM song plays at a
// time in the background on its own worker thread; the game starts the menu
// song, stops it, and asks for its output level.
#pragma once

#include <cstdint>

// Flags of Music_Play.
enum : uint32_t {
    MUSIC_MEMORY = 1,    // source is a song image in memory, param its length in bytes
    MUSIC_FILE = 2,      // source is a file name (game path); MUSIC_MEMORY wins when both are set
    MUSIC_NO_LOOP = 8,   // end at the end of the order list instead of wrapping
    MUSIC_PAUSED = 16,   // start paused: silent, the song held at its start
};

// Stops any song, then loads and starts the one from `source`. Non-zero on
// success; 0 when the source cannot be read, the song is rejected or nothing
// was asked for (a null source only stops; so does a source that is neither
// memory nor a file, since there are no program resources to read here).
int32_t Music_Play(const void* source, uint32_t param, uint32_t flags);

// Stops the song and releases it with the output; waits for the worker first.
void Music_Stop();

// The latest rendered block's mean absolute sample value, left channel in the
// high 16 bits and right in the low 16; 0 when no song is playing.
uint32_t Music_Level();

// The song time in milliseconds at the end of the block being played; 0 when
// no song is playing.
uint32_t Music_Time();

// The current (or last) song's title, up to 20 characters.
const char* Music_Title();

void Music_Pause();    // the following blocks are silent and the song holds
void Music_Resume();

// 64 and above is full volume, 1 to 63 scale by 16 / (80 - v), 0 silences.
// Kept across songs.
void Music_SetVolume(uint32_t v);

// The song goes on at the start of `order` (low 16 bits; 0 when beyond the
// song) from its next row.
void Music_JumpToOrder(uint32_t order);
