#include "engine/backend_recording.h"

#include "engine/core.h"
#include "engine/record.h"

namespace oe {

namespace {

class Recording final : public VirtualBackend {
public:
    bool Open(const std::string&, const OE_OptionsRec&) override { return true; }
    void Close() override {}
    Canvas* GetCanvas() override { return nullptr; }
};

}  // namespace

VirtualBackend& UseRecordingBackend() {
    auto backend = std::make_unique<Recording>();
    VirtualBackend& ref = *backend;
    SetBackend(std::move(backend));
    ResetEngine();
    Recorder_Enable(true);
    return ref;
}

}  // namespace oe
