// menu_song.h: "sfx\menu.xm", the menu music: an upbeat A-minor tune at
// 150 beats per minute on nine channels (kick, snare, hats, bass, three pad
// voices, an arpeggio and the lead), 70 seconds before it loops.
#pragma once

#include <vector>

#include "xm_file.h"

namespace assetgen {

// Instruments in song order: kick, snare, hat, open hat, bass, pad, pluck, lead.
std::vector<XmInstrument> MakeMenuInstruments();

XmModule MakeMenuSong();

}  // namespace assetgen
