// arena.h: the private heap of one song.
//
// Everything the loader allocates for a song lives here and is released in one
// step when the song stops; nothing is freed piecemeal. A byte budget bounds
// what a damaged file can make the loader ask for: a request beyond it fails
// like any failed allocation.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>
#include <vector>

constexpr size_t kArenaDefaultBudget = size_t(512) << 20;

struct TArena {
    std::vector<std::unique_ptr<std::byte[]>> blocks;
    size_t used = 0;                           // bytes handed out
    size_t budget = kArenaDefaultBudget;       // most bytes it will hand out
};

// `bytes` zeroed bytes, aligned for any record, or null when the budget or the
// system runs out.
void* Arena_Alloc(TArena& arena, size_t bytes);

// Frees every allocation at once; the budget stays.
void Arena_Free(TArena& arena);

// `count` value-initialised records of T in the arena, or null on failure.
template <typename T>
T* Arena_New(TArena& arena, size_t count) {
    if (count > SIZE_MAX / sizeof(T)) return nullptr;
    void* p = Arena_Alloc(arena, count * sizeof(T));
    if (!p) return nullptr;
    T* first = static_cast<T*>(p);
    for (size_t i = 0; i < count; ++i) ::new (static_cast<void*>(first + i)) T();
    return first;
}
