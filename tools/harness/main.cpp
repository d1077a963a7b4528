// korvamo-script: runs the real game headless on the offscreen backend with a
// virtual clock, driven by a script (see README.md for its commands).
//
//   korvamo-script [--data DIR] [--keep DIR2 | --player DIR3] [--seed N] [--call-log FILE] SCRIPT
//
// The game works in a scratch copy of the data folder, or in DIR2 with --keep
// (copied from DIR when it does not exist yet, and left in place); either way
// that folder holds the player's files too. With --player the game reads the
// shipped data in DIR itself, as an installed game does (it may be read-only),
// and keeps the player's files in DIR3. Exit status:
// 0 the script ran through, 1 an expectation failed, 2 bad arguments or script.

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "app/player_folder.h"
#include "engine/fs.h"
#include "app/startup.h"
#include "core/random.h"
#include "engine/backend_offscreen.h"
#include "engine/record.h"
#include "tools/harness/call_log.h"
#include "tools/harness/script.h"

namespace {

namespace fs = std::filesystem;

struct Options {
    std::string data = KORVAMO_DEFAULT_DATA;
    std::string keep;
    std::string player;     // the player's folder, apart from the shipped data
    std::string script;
    std::string call_log;   // where the engine's calls go, when given
    uint64_t seed = 1;
};

int Usage() {
    std::fprintf(stderr,
                 "usage: korvamo-script [--data DIR] [--keep DIR2 | --player DIR3] [--seed N] [--call-log FILE] SCRIPT\n");
    return 2;
}

bool ParseArgs(int argc, char** argv, Options& o) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool has_value = i + 1 < argc;
        if (arg == "--data" && has_value) {
            o.data = argv[++i];
        } else if (arg == "--keep" && has_value) {
            o.keep = argv[++i];
        } else if (arg == "--player" && has_value) {
            o.player = argv[++i];
        } else if (arg == "--call-log" && has_value) {
            o.call_log = fs::absolute(argv[++i]).string();
        } else if (arg == "--seed" && has_value) {
            char* end = nullptr;
            o.seed = std::strtoull(argv[++i], &end, 10);
            if (!end || *end) return false;
        } else if (o.script.empty() && !arg.starts_with("--")) {
            o.script = arg;
        } else {
            return false;
        }
    }
    return !o.script.empty() && (o.keep.empty() || o.player.empty());
}

// The folder the game works in: a scratch copy, or the kept folder.
fs::path PrepareWorkFolder(const Options& o, bool& scratch) {
    std::error_code ec;
    fs::path work;
    scratch = o.keep.empty();
    if (scratch) {
        std::string pattern = Fs_MakeScratchFolder("korvamo-script-");
        if (pattern.empty()) return {};
        work = pattern;
    } else {
        work = fs::absolute(o.keep);
        if (fs::exists(work, ec)) return work;
    }
    fs::copy(o.data, work, fs::copy_options::recursive | fs::copy_options::overwrite_existing, ec);
    if (ec) {
        std::fprintf(stderr, "korvamo-script: cannot copy %s: %s\n", o.data.c_str(), ec.message().c_str());
        return {};
    }
    return work;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!ParseArgs(argc, argv, options)) return Usage();
    if (!fs::is_directory(options.data)) {
        std::fprintf(stderr, "korvamo-script: no data folder %s\n", options.data.c_str());
        return 2;
    }
    std::ifstream in(options.script, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "korvamo-script: cannot read %s\n", options.script.c_str());
        return 2;
    }
    const std::string source((std::istreambuf_iterator<char>(in)), {});
    std::vector<harness::Line> lines;
    std::string error;
    if (!harness::ParseScript(source, lines, error)) {
        std::fprintf(stderr, "%s: %s\n", options.script.c_str(), error.c_str());
        return 2;
    }

    const fs::path shot_dir = fs::current_path();
    bool scratch = false;
    std::error_code ec;
    fs::path work;
    if (options.player.empty()) {
        work = PrepareWorkFolder(options, scratch);
    } else {
        work = fs::absolute(options.data, ec);
        std::string error;
        if (!PlayerFolder_Prepare(options.player, work.string(), error)) {
            std::fprintf(stderr, "korvamo-script: %s\n", error.c_str());
            return 2;
        }
    }
    if (work.empty() || (fs::current_path(work, ec), ec)) return 2;

    auto backend = oe::MakeOffscreenBackend();
    harness::Runner runner(std::move(lines), *backend, shot_dir.string());
    backend->SetDriver([&runner] { return runner.Step(); });
    oe::SetBackend(std::move(backend));
    Random_ForceSeed(options.seed);
    if (!options.call_log.empty()) oe::Recorder_Enable(true);
    Game_Main();
    if (!options.call_log.empty() && !harness::WriteCallLog(options.call_log)) {
        std::fprintf(stderr, "korvamo-script: cannot write %s\n", options.call_log.c_str());
        return 2;
    }

    fs::current_path(shot_dir, ec);
    if (scratch) fs::remove_all(work, ec);
    if (runner.Failed()) return 1;
    if (!runner.Done()) {
        std::fprintf(stderr, "korvamo-script: the game ended before the script did\n");
        return 1;
    }
    return 0;
}
