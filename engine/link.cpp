// link.cpp: opening the menu's ".url" link files with the desktop.
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <string>

#include "engine/backend.h"
#include "engine/fs.h"
#include "engine/oe.h"

namespace {

bool (*link_opener)(const std::string& url) = nullptr;

// The address of an Internet shortcut: the value of its first URL= line.
std::string UrlOf(const std::vector<uint8_t>& bytes) {
    const std::string text(bytes.begin(), bytes.end());
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(pos, end - pos);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.rfind("URL=", 0) == 0) return line.substr(4);
        pos = end + 1;
    }
    return {};
}

// Web pages and mail only: a file: address or a custom handler could run
// anything the desktop knows how to open.
bool IsSafeAddress(const std::string& url) {
    const size_t colon = url.find(':');
    if (colon == std::string::npos) return false;
    std::string scheme = url.substr(0, colon);
    std::transform(scheme.begin(), scheme.end(), scheme.begin(), [](unsigned char c) { return std::tolower(c); });
    return scheme == "http" || scheme == "https" || scheme == "mailto";
}

}  // namespace

bool OE_OpenLinkFile(const std::string& path) {
    const auto bytes = Fs_ReadFile(path);
    if (!bytes) return false;
    const std::string url = UrlOf(*bytes);
    if (url.empty()) return false;
    if (!IsSafeAddress(url)) {
        std::fprintf(stderr, "korvamo: %s: not opening \"%s\": only http, https and mailto addresses are opened\n",
                     path.c_str(), url.c_str());
        return false;
    }
    if (link_opener) return link_opener(url);
    oe::Backend* backend = oe::GetBackend();
    return backend && backend->OpenUrl(url);
}

void OE_SetLinkOpener(bool (*opener)(const std::string& url)) { link_opener = opener; }
