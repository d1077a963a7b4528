// sounds.h: the ten sound effects of "sfx\".
#pragma once

#include <string>
#include <vector>

#include "synth.h"

namespace assetgen {

struct SoundAsset {
    std::string name;  // file stem, as the game asks for it
    Signal samples;    // mono at kSampleRate
};

std::vector<SoundAsset> MakeSounds();

}  // namespace assetgen
