// texbase.cpp: texture registries and name lists.
#include "assets/texbase.h"

#include <algorithm>
#include <string_view>

#include "core/notice.h"
#include "engine/fs.h"

TBase share_registry;
TBase object_registry;

namespace {

// The colour key and flags every registry texture is loaded with, the same the
// font texture gets.
constexpr uint32_t kColourKey = 0xFFFFFFFFu;
constexpr int kLoadFlags = 266;

size_t NameStart(const std::string& path) {
    const size_t sep = path.find_last_of("\\:/");
    return sep == std::string::npos ? 0 : sep + 1;
}

}  // namespace

void FList_Clear(TF_list& list) {
    for (std::string& name : list.names) name.clear();
    list.count = 0;
}

void FList_Add(TF_list& list, const std::string& name) {
    if (list.count < 0 || list.count >= FLIST_CAPACITY) return;
    list.names[list.count] = name;
    ++list.count;
}

TF_list FList_FromFolder(const std::string& mask) {
    TF_list list;
    for (const std::string& name : Fs_List(mask)) FList_Add(list, name);
    return list;
}

void FList_Rotate(TF_list& list, int32_t direction) {
    if (list.count <= 0 || list.count > FLIST_CAPACITY) return;
    const auto first = list.names.begin();
    const auto end = first + list.count;
    if (direction == 1) std::rotate(first, end - 1, end);
    if (direction == -1) std::rotate(first, first + 1, end);
}

TF_list FList_FromTextFile(const std::string& path) {
    const auto bytes = Fs_ReadFile(path);
    if (!bytes) return {};
    return FList_FromText(std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()));
}

TF_list FList_FromText(std::string_view text) {
    TF_list list;
    size_t start = 0;
    while (start < text.size() && list.count < FLIST_CAPACITY) {
        const size_t newline = std::min(text.find('\n', start), text.size());
        size_t end = newline;
        if (end > start && text[end - 1] == '\r') --end;
        FList_Add(list, std::string(text.substr(start, std::min(end - start, FLIST_LINE_BYTES))));
        start = newline + 1;
    }
    return list;
}

std::string StripExt(const std::string& file_name) {
    const size_t dot = file_name.rfind('.');
    if (dot == std::string::npos || dot < NameStart(file_name)) return file_name;
    return file_name.substr(0, dot);
}

void TexBase_Add(TBase& base, const std::string& path, bool on_demand) {
    if (base.count < 0 || base.count >= TEXBASE_CAPACITY) return;
    _PTexture& entry = base.entries[base.count];
    entry.texture = (on_demand ? Tex_LoadWhenDrawn : Tex_LoadFromFile)(path, kColourKey, kLoadFlags);
    if (!entry.texture) Notice_LoadFailed(path);
    entry.name = StripExt(path.substr(NameStart(path)));
    ++base.count;
}

void TexBase_LoadFolder(TBase& base, const std::string& folder, bool on_demand) {
    for (const char* mask : {"*.tga", "*.jpg"}) {
        const TF_list list = FList_FromFolder(folder + mask);
        for (int32_t i = 0; i < list.count; ++i) TexBase_Add(base, folder + list.names[i], on_demand);
    }
}

void TexBase_Unload(const TBase& base) {
    for (int32_t i = 0; i < std::clamp(base.count, 0, TEXBASE_CAPACITY); ++i) Tex_Unload(base.entries[i].texture);
}

OE_Texture TexBase_Find(const TBase& base, const std::string& name) {
    if (base.count <= 0) return nullptr;
    const int32_t count = base.count < TEXBASE_CAPACITY ? base.count : TEXBASE_CAPACITY;
    for (int32_t i = 0; i < count; ++i) {
        if (base.entries[i].name == name) return base.entries[i].texture;
    }
    return base.entries[0].texture;
}
