// modplayer.cpp: choosing the byte source, loading, and the player's one state.
#include "music/modplayer.h"

#include <string>

#include "engine/fs.h"
#include "music/output.h"
#include "music/source.h"
#include "music/xm_loader.h"

namespace {

constexpr int32_t kSilentDivisor = 2147483600;   // 2^31 - 48: every sample truncates to 0

struct TPlayer {
    TSong song;
    TArena arena;          // the song's private heap
    TWaveOutput output;    // declared last, so its worker ends before the song goes
};

TPlayer player;

// Opens the source the flags name. False for a file that cannot be opened and
// for program resources, which do not exist on this platform.
bool OpenSource(ByteSource& bytes, const void* source, uint32_t param, uint32_t flags) {
    if (flags & MUSIC_MEMORY) {
        bytes = Source_OpenMemory(source, param);
        return true;
    }
    if (flags & MUSIC_FILE) return Source_OpenFile(bytes, Fs_ReadPath(static_cast<const char*>(source)));
    return false;
}

}  // namespace

int32_t Music_Play(const void* source, uint32_t param, uint32_t flags) {
    Music_Stop();
    if (!source) return 0;
    player.output.paused.store(static_cast<uint8_t>(flags & MUSIC_PAUSED));
    if (player.output.divisor.load() == 0) player.output.divisor.store(kFullVolumeDivisor);
    ByteSource bytes;
    if (!OpenSource(bytes, source, param, flags)) return 0;
    const bool loaded = Song_Load(player.song, bytes, player.arena);
    Source_Close(bytes);
    player.song.no_loop = (flags & MUSIC_NO_LOOP) != 0;
    if (loaded && Output_Start(player.output, player.song, player.arena)) return 1;
    Music_Stop();
    return 0;
}

void Music_Stop() {
    Output_Stop(player.output);
    Arena_Free(player.arena);
}

uint32_t Music_Level() { return Output_Level(player.output); }

uint32_t Music_Time() { return Output_Time(player.output); }

const char* Music_Title() { return player.song.title.data(); }

void Music_Pause() { player.output.paused.store(1); }

void Music_Resume() { player.output.paused.store(0); }

void Music_SetVolume(uint32_t v) {
    int32_t divisor = kFullVolumeDivisor;
    if (v == 0) divisor = kSilentDivisor;
    else if (v <= 64) divisor = 80 - static_cast<int32_t>(v);
    player.output.divisor.store(divisor);
}

void Music_JumpToOrder(uint32_t order) {
    const int32_t wanted = static_cast<int32_t>(order & 0xFFFF);
    Song_NextOrder(player.song).store(wanted < player.song.song_length ? wanted : 0);
    Song_NextRow(player.song).store(0);
}
