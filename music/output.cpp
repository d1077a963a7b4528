// output.cpp: pre-render, the worker's polling loop, and teardown.
#include "music/output.h"

#include <bit>
#include <chrono>
#include <system_error>

#include "engine/oe.h"
#include "music/replay.h"

// The ring goes to the device as bytes of 16-bit little-endian samples.
static_assert(std::endian::native == std::endian::little);

namespace {

constexpr auto kPoll = std::chrono::milliseconds(5);

const uint8_t* RingBytes(const TWaveOutput& out) { return reinterpret_cast<const uint8_t*>(out.ring.data()); }

void ClearLevels(TWaveOutput& out) {
    for (auto& slot : out.times) slot.store(0);
    for (auto& slot : out.levels) slot.store(0);
    out.level_index.store(0);
}

void CloseDevice(TWaveOutput& out) {
    out.fill = 0;
    if (!out.device_open) return;
    out.device_open = false;
    WaveOut_Reset();
    WaveOut_Close();
}

// Renders the block at the fill index (silence that holds the song while
// paused), stores its time and level and moves the fill index on.
void RenderBlock(TWaveOutput& out, TSong& song) {
    out.acc.fill(0.0f);
    if (!out.paused.load()) {
        Song_Render(song, out.acc.data(), kBlockFrames);
        out.times[size_t(out.fill)].store(song.time);
    }
    int16_t* block = out.ring.data() + size_t(out.fill) * 2 * kBlockFrames;
    const uint32_t level = Block_Convert(out.acc.data(), block, out.divisor.load());
    out.fill = (out.fill + 1) % kRingBlocks;
    out.levels[size_t(out.fill)].store(level);
}

// The block the device is playing now.
int32_t PlayedBlock() { return static_cast<int32_t>((WaveOut_GetPosition() / kBlockBytes) % kRingBlocks); }

void Worker(TWaveOutput& out, TSong& song, TArena& arena) {
    for (;;) {
        const int32_t played = PlayedBlock();
        for (;;) {
            std::this_thread::sleep_for(kPoll);
            if (out.stop.load()) return;
            if (out.fill == played) break;
            if (!out.paused.load()) out.level_index.store((out.level_index.load() + 1) % kRingBlocks);
            RenderBlock(out, song);
            // The device mixer reads the pause state before it reads the ring,
            // so this atomic store hands the new block over to its thread.
            WaveOut_SetPaused(false);
            if (song.ended) {
                // The song's end: everything goes now, and the worker with it.
                // Its thread object is joined by the next stop or play.
                CloseDevice(out);
                Arena_Free(arena);
                ClearLevels(out);
                return;
            }
        }
    }
}

}  // namespace

TWaveOutput::~TWaveOutput() {
    stop.store(true);
    if (worker.joinable()) worker.join();
}

bool Output_Start(TWaveOutput& out, TSong& song, TArena& arena) {
    ClearLevels(out);
    out.fill = 0;
    // The device starts on a full ring.
    do RenderBlock(out, song);
    while (out.fill != 0);
    if (song.ended || !WaveOut_Open(RingBytes(out), kRingBytes)) {
        ClearLevels(out);
        return false;
    }
    out.device_open = true;
    out.stop.store(false);
    try {
        out.worker = std::thread(Worker, std::ref(out), std::ref(song), std::ref(arena));
    } catch (const std::system_error&) {
        Output_Stop(out);
        return false;
    }
    return true;
}

void Output_Stop(TWaveOutput& out) {
    if (out.worker.joinable()) {
        out.stop.store(true);
        out.worker.join();
    }
    CloseDevice(out);
    ClearLevels(out);
}

uint32_t Output_Level(const TWaveOutput& out) { return out.levels[size_t(out.level_index.load())].load(); }

uint32_t Output_Time(const TWaveOutput& out) { return out.times[size_t(out.level_index.load())].load(); }
