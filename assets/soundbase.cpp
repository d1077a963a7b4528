// soundbase.cpp: the sound registry.
#include "assets/soundbase.h"

#include <algorithm>

#include "assets/texbase.h"
#include "core/notice.h"

TS_List sound_registry;

namespace {

// Sounds that may ring several times at once: the locked-track buzz and the
// fireworks are triggered in bursts, crashes overlap, and every computer car
// runs its own engine.
int VoicesFor(const std::string& name) {
    if (name == "bad") return 4;
    if (name == "fw") return 4;
    if (name == "bum") return 2;
    if (name == "eng_e") return 4;
    return 1;
}

// The first item named `name`, item 0 when none is, null when the registry is empty.
const TS_Item* Select(const TS_List& list, const std::string& name) {
    const int32_t count = std::min<int32_t>(list.count, static_cast<int32_t>(list.items.size()));
    if (count <= 0) return nullptr;
    for (int32_t i = 0; i < count; ++i) {
        if (list.items[i].name == name) return &list.items[i];
    }
    return &list.items[0];
}

}  // namespace

void SndBase_LoadFolder(TS_List& list, const std::string& folder, const std::string& mask) {
    const TF_list files = FList_FromFolder(folder + mask);
    SndBase_SetLength(list, files.count);
    for (int32_t i = 0; i < files.count; ++i) {
        SndBase_Add(list, StripExt(files.names[i]), folder + files.names[i]);
    }
}

void SndBase_SetLength(TS_List& list, int32_t length) {
    list.items.resize(static_cast<size_t>(std::max<int32_t>(length, 0)));
    list.count = std::min<int32_t>(list.count, static_cast<int32_t>(list.items.size()));
}

void SndBase_Add(TS_List& list, const std::string& name, const std::string& path) {
    if (list.count < 0 || list.count >= static_cast<int32_t>(list.items.size())) return;
    TS_Item& item = list.items[list.count];
    item.name = name;
    item.handle = Snd_LoadFromFile(path, VoicesFor(name));
    if (!item.handle) Notice_LoadFailed(path);
    ++list.count;
}

OE_Sound SndBase_Find(const TS_List& list, const std::string& name) {
    const TS_Item* item = Select(list, name);
    return item ? item->handle : nullptr;
}

void SndBase_Play(const TS_List& list, const std::string& name, bool loop) {
    if (const TS_Item* item = Select(list, name)) Snd_Play(item->handle, 0, 0, 0, loop);
}

void SndBase_PlayEx(const TS_List& list, const std::string& name, int offset, int volume,
                    bool loop, int frequency) {
    if (const TS_Item* item = Select(list, name)) Snd_Play(item->handle, offset, volume, frequency, loop);
}

void SndBase_Stop(const TS_List& list, const std::string& name) {
    if (const TS_Item* item = Select(list, name)) Snd_Stop(item->handle);
}
