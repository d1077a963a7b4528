#include "tools/harness/call_log.h"

#include <cstdio>
#include <fstream>
#include <map>

#include "engine/record.h"

namespace harness {

bool WriteCallLog(const std::string& path) {
    std::ofstream out(path, std::ios::binary);
    if (!out) return false;
    // Addresses differ from run to run; the file a handle came from does not.
    std::map<const void*, std::string> names;
    for (const oe::RecordedCall& call : oe::Recorder_Calls()) {
        const bool loads = call.name.ends_with("LoadFromFile");
        if (call.handle && (loads || !names.contains(call.handle)))
            names[call.handle] = loads ? "<" + call.text + ">" : "<#" + std::to_string(names.size()) + ">";
        out << call.name;
        if (call.handle) out << ' ' << names[call.handle];
        if (!call.text.empty()) out << " '" << call.text << "'";
        for (double a : call.args) {
            char buf[32];
            std::snprintf(buf, sizeof buf, " %.10g", a);
            out << buf;
        }
        out << '\n';
    }
    return static_cast<bool>(out);
}

}  // namespace harness
