#include "core/notice.h"

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "core/state.h"
#include "engine/oe.h"

void Notice_Post(const std::string& text) {
    game.notice = text;
    game.notice_until = U_GetTime() + NOTICE_MS;
    std::fprintf(stderr, "korvamo: %s\n", text.c_str());
}

void Notice_Failure(const std::string& what) {
    std::string reason = std::strerror(errno);
    if (!reason.empty()) reason[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(reason[0])));
    Notice_Post(what + ": " + reason);
}

void Notice_LoadFailed(const std::string& file) {
    std::fprintf(stderr, "korvamo: cannot load %s: %s\n", file.c_str(), OE_LoadError().c_str());
}

const std::string& Notice_Current(double now) {
    static const std::string none;
    return now < game.notice_until ? game.notice : none;
}
