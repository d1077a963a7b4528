// arena.cpp: allocation by whole zeroed blocks, released together.
#include "music/arena.h"

void* Arena_Alloc(TArena& arena, size_t bytes) {
    if (bytes == 0) bytes = 1;
    if (arena.used > arena.budget || bytes > arena.budget - arena.used) return nullptr;
    try {
        arena.blocks.push_back(std::make_unique<std::byte[]>(bytes));
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    arena.used += bytes;
    return arena.blocks.back().get();
}

void Arena_Free(TArena& arena) {
    arena.blocks.clear();
    arena.used = 0;
}
