// soundbase.h: the sound effects of "sfx\", played and stopped by name.
//
// A sound's name is its file name without extension, case kept. A name that is
// not registered selects the first registered sound instead; with no sound
// registered at all nothing is played or stopped and lookups give null.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/oe.h"

struct TS_Item {
    OE_Sound handle = nullptr;   // as Snd_LoadFromFile returned it, null included
    std::string name;
};

struct TS_List {
    std::vector<TS_Item> items;  // its size is the capacity
    int32_t count = 0;           // items 0..count-1 are filled
};

// Lists folder + mask (e.g. "sfx\" and "*.wav"), makes room for every name and
// adds each file under its stem.
void SndBase_LoadFolder(TS_List& list, const std::string& folder, const std::string& mask);
// Sets the capacity; a registry cut below its count keeps only what still fits.
void SndBase_SetLength(TS_List& list, int32_t length);
// Loads the file with the voices its name calls for and appends it; a full
// registry ignores it.
void SndBase_Add(TS_List& list, const std::string& name, const std::string& path);
OE_Sound SndBase_Find(const TS_List& list, const std::string& name);
void SndBase_Play(const TS_List& list, const std::string& name, bool loop);
// Note the order: offset, volume, loop, frequency (Snd_Play takes the loop last).
void SndBase_PlayEx(const TS_List& list, const std::string& name, int offset, int volume,
                    bool loop, int frequency);
void SndBase_Stop(const TS_List& list, const std::string& name);

extern TS_List sound_registry;
