// The name-list reader ("gfx\obj\list.txt") on arbitrary bytes.
#include <algorithm>
#include <cstdlib>
#include <string_view>

#include "assets/texbase.h"
#include "tests/fuzz/fuzz_targets.h"

bool Fuzz_NameList(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const TF_list list = FList_FromText(text);
    if (list.count < 0 || list.count > FLIST_CAPACITY) return false;
    // Each name, with its line end, must be the text at that place.
    size_t at = 0;
    for (int32_t i = 0; i < list.count; ++i) {
        const std::string& name = list.names[i];
        if (name.find('\n') != std::string::npos || name.size() > FLIST_LINE_BYTES ||
            text.compare(at, name.size(), name) != 0)
            return false;
        at += name.size();
        // A line longer than an entry may be was cut there: the rest of it is skipped.
        if (name.size() == FLIST_LINE_BYTES) at = std::min(text.find('\n', at), text.size());
        // A CR right before the line's end (or the text's) belongs to the end.
        if (at < text.size() && text[at] == '\r' && (at + 1 == text.size() || text[at + 1] == '\n')) ++at;
        if (at < text.size() && text[at] != '\n') return false;
        ++at;
    }
    return list.count == FLIST_CAPACITY || at >= text.size();
}

#ifdef KORVAMO_LIBFUZZER
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (!Fuzz_NameList(data, size)) std::abort();
    return 0;
}
#endif
