#include "engine/record.h"

#include <cstdio>

namespace oe {

namespace {
bool recording = false;
std::vector<RecordedCall> calls;
}  // namespace

std::string RecordedCall::ToString() const {
    std::string out = name;
    if (handle) {
        char buf[32];
        std::snprintf(buf, sizeof buf, " %p", handle);
        out += buf;
    }
    if (!text.empty()) out += " '" + text + "'";
    for (double a : args) {
        char buf[32];
        std::snprintf(buf, sizeof buf, " %.10g", a);
        out += buf;
    }
    return out;
}

void Recorder_Enable(bool on) {
    recording = on;
    calls.clear();
}

bool Recorder_IsOn() { return recording; }

void Recorder_Clear() { calls.clear(); }

const std::vector<RecordedCall>& Recorder_Calls() { return calls; }

void Record(const char* name, std::initializer_list<double> args, const std::string& text,
            const void* handle) {
    if (!recording) return;
    calls.push_back(RecordedCall{name, std::vector<double>(args), text, handle});
}

}  // namespace oe
