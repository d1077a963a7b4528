#include "world/rivals.h"

#include <algorithm>
#include <array>

namespace {

constexpr std::array<const char*, 8> kRivalNames = {"Aino", "Veikko", "Kaisa", "Onni",
                                                    "Helmi", "Eero", "Lumi", "Matti"};

}  // namespace

std::string Rival_Name(const tworld& map, int32_t i) {
    if (i < 0 || i >= std::clamp(map.count, 0, WORLD_CAPACITY)) return "";
    if (!IsCarKind(map.objects[i].kind)) return "";
    if (map.objects[i].ai == 0) return "You";
    size_t slot = 0;
    for (int32_t j = 0; j < i; ++j) slot += IsCarKind(map.objects[j].kind) && map.objects[j].ai != 0;
    return kRivalNames[slot % kRivalNames.size()];
}
