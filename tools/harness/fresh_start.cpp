#include "tools/harness/fresh_start.h"

#include "assets/soundbase.h"
#include "assets/texbase.h"
#include "ui/element.h"
#include "world/particles.h"

namespace harness {

void ForgetEarlierRuns() {
    share_registry = TBase{};
    object_registry = TBase{};
    sound_registry = TS_List{};
    element_list.clear();
    particle_system.count = 0;
}

}  // namespace harness
