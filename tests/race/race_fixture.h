// A race on the map with cars placed by hand, on the recording backend.
#pragma once

#include <string>

#include "assets/soundbase.h"
#include "core/state.h"
#include "engine/input.h"
#include "tests/engine/wav_fixture.h"
#include "tests/world/world_fixture.h"
#include "world/particles.h"
#include "world/race_rules.h"

class RaceTest : public WorldTest {
protected:
    void SetUp() override {
        WorldTest::SetUp();
    }

    // A car on the map, standing still, facing up (frame 1), sized like the
    // game's 64 px car sprites.
    static int32_t AddCar(const std::string& kind, int32_t x, int32_t y, uint8_t ai, int32_t top_speed = 15) {
        tminimal o = Object(kind, x, y);
        o.ai = ai;
        o.top_speed = top_speed;
        o.frame = 1.0f;
        o.width = o.height = 64;
        o.radius = 16;
        o.dynamic = 1;
        World_Append(world_map, o);
        return world_map.count - 1;
    }

    // A prop of the given size; radius width div 4 as the game sizes it.
    static int32_t AddProp(const std::string& kind, int32_t x, int32_t y, int32_t size, uint8_t dynamic) {
        tminimal o = Object(kind, x, y);
        o.frame = 1.0f;
        o.width = o.height = size;
        o.radius = size / 4;
        o.dynamic = dynamic;
        World_Append(world_map, o);
        return world_map.count - 1;
    }

    static tminimal& At(int32_t i) { return world_map.objects[i]; }

    // Holds the keys for the next updates; each call lets go of the others.
    static void Hold(std::initializer_list<int> keys) {
        oe::Input_Reset();
        for (int key : keys) oe::Input_Key(key, true);
    }

    // Short silent effects under the game's sound names in the registry.
    static void LoadSounds(std::initializer_list<const char*> names) {
        SndBase_SetLength(sound_registry, static_cast<int32_t>(names.size()));
        const std::vector<uint8_t> wav = wavtest::MakeWav(22050, 1, 16, wavtest::Constant(64, 1, 0));
        for (const char* name : names) {
            WriteFile(std::string("sfx/") + name + ".wav", std::string(wav.begin(), wav.end()));
            SndBase_Add(sound_registry, name, std::string("sfx\\") + name + ".wav");
        }
    }

    // The Snd_Play calls of one registered sound, in order.
    static std::vector<oe::RecordedCall> PlaysOf(const char* name) {
        std::vector<oe::RecordedCall> plays;
        for (const oe::RecordedCall& c : oe::Recorder_Calls())
            if (c.name == "Snd_Play" && c.handle == SndBase_Find(sound_registry, name)) plays.push_back(c);
        return plays;
    }

    // How many logged calls have this name (and this text, when given).
    static int CountCalls(const std::string& name, const std::string& text = {}) {
        int n = 0;
        for (const oe::RecordedCall& c : oe::Recorder_Calls()) n += c.name == name && (text.empty() || c.text == text);
        return n;
    }
};
