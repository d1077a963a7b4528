// assetgen: paints, synthesises and rasterises every asset of the game into
// a data folder. The output depends on nothing but the code and the font, so
// two runs give the same bytes.
#include <array>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <future>
#include <set>
#include <string>

#include "bends.h"
#include "catalog.h"
#include "contact_sheet.h"
#include "font.h"
#include "kerb.h"
#include "menu_song.h"
#include "sounds.h"
#include "text.h"
#include "tga.h"
#include "theme_art.h"
#include "tracks.h"
#include "wav.h"

namespace fs = std::filesystem;
using namespace assetgen;

namespace {

struct Options {
    std::string out;
    std::string contact_sheet;
    std::string icons;      // folder for the desktop icons, korvamo-SIZE.png
    std::string font = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
};

bool ParseArgs(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--out" && i + 1 < argc) {
            options.out = argv[++i];
        } else if (arg == "--font" && i + 1 < argc) {
            options.font = argv[++i];
        } else if (arg == "--contact-sheet" && i + 1 < argc) {
            options.contact_sheet = argv[++i];
        } else if (arg == "--icons" && i + 1 < argc) {
            options.icons = argv[++i];
        } else {
            return false;
        }
    }
    return !options.out.empty() || !options.contact_sheet.empty() || !options.icons.empty();
}

// Removes files of the given extension that this run did not write, so a
// renamed asset never lingers in the registry's folder.
void RemoveStale(const fs::path& folder, const std::string& extension,
                 const std::set<std::string>& written) {
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder, ec)) {
        const fs::path& p = entry.path();
        if (entry.is_regular_file() && p.extension() == extension &&
            !written.count(p.filename().string()))
            fs::remove(p, ec);
    }
}

// Every image as a TGA file, encoded by two jobs each taking every other image.
bool WriteImages(const fs::path& folder, const ImageSet& images) {
    auto write = [&folder, &images](size_t first) {
        for (size_t i = first; i < images.size(); i += 2) {
            const fs::path file = folder / (images[i].name + ".tga");
            if (!WriteFile(file.string(), EncodeTga(images[i].canvas))) {
                std::fprintf(stderr, "assetgen: cannot write %s\n", file.c_str());
                return false;
            }
        }
        return true;
    };
    auto other = std::async(std::launch::async, write, 1);
    const bool ok = write(0);
    if (!other.get() || !ok) return false;
    std::set<std::string> written;
    for (const Image& image : images) written.insert(image.name + ".tga");
    RemoveStale(folder, ".tga", written);
    return true;
}

void PutLe(std::string& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

// A Windows icon file holding the PNG icons up to 256 pixels, as Windows
// Vista and later read them: a directory of entries, then each PNG whole.
bool WriteIco(const fs::path& folder) {
    const std::array<int, 7> sizes = {16, 24, 32, 48, 64, 128, 256};
    std::vector<std::string> pngs;
    for (int size : sizes) {
        std::ifstream in(folder / ("korvamo-" + std::to_string(size) + ".png"), std::ios::binary);
        pngs.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        if (pngs.back().empty()) return false;
    }
    std::string ico;
    PutLe(ico, 0, 2);   // reserved
    PutLe(ico, 1, 2);   // an icon, not a cursor
    PutLe(ico, sizes.size(), 2);
    uint32_t offset = static_cast<uint32_t>(6 + 16 * sizes.size());
    for (size_t i = 0; i < sizes.size(); ++i) {
        PutLe(ico, sizes[i] % 256, 1);   // 256 is written as 0
        PutLe(ico, sizes[i] % 256, 1);
        PutLe(ico, 0, 2);                // no palette, reserved
        PutLe(ico, 1, 2);                // planes
        PutLe(ico, 32, 2);               // bits per pixel
        PutLe(ico, static_cast<uint32_t>(pngs[i].size()), 4);
        PutLe(ico, offset, 4);
        offset += static_cast<uint32_t>(pngs[i].size());
    }
    for (const std::string& png : pngs) ico += png;
    std::ofstream out(folder / "korvamo.ico", std::ios::binary);
    out << ico;
    return static_cast<bool>(out.flush());
}

// The desktop icon at the sizes desktops look for, and as a Windows icon file.
bool WriteIcons(const fs::path& folder) {
    std::error_code ec;
    fs::create_directories(folder, ec);
    for (int size : {16, 24, 32, 48, 64, 128, 256, 512}) {
        const fs::path file = folder / ("korvamo-" + std::to_string(size) + ".png");
        if (!WritePng(file.string(), AppIcon(size), true)) {
            std::fprintf(stderr, "assetgen: cannot write %s\n", file.c_str());
            return false;
        }
    }
    if (!WriteIco(folder)) {
        std::fprintf(stderr, "assetgen: cannot write %s\n", (folder / "korvamo.ico").c_str());
        return false;
    }
    return true;
}

void Append(ImageSet& to, ImageSet from) {
    for (Image& image : from) to.push_back(std::move(image));
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!ParseArgs(argc, argv, options)) {
        std::fprintf(stderr,
                     "usage: assetgen [--out DATA_FOLDER] [--icons FOLDER] [--contact-sheet FILE.png] [--font FONT.ttf]\n");
        return 2;
    }
    const auto started = std::chrono::steady_clock::now();
    const Typeface face(options.font);
    if (!face.Ok()) {
        std::fprintf(stderr, "assetgen: cannot read the font %s\n", options.font.c_str());
        return 1;
    }

    // Ground tiles first: the editor's list follows this order.
    ImageSet objects = MakeTiles();
    Append(objects, MakeBendTiles("lnd_", FindImage(objects, "lnd_road1"), PaintKerb, kBendRadii));
    Append(objects, MakeThemeArt(objects));
    Append(objects, MakeMarkers());
    Append(objects, MakeNatureProps());
    Append(objects, MakeCityProps());
    Append(objects, MakeCars());

    ImageSet shared = MakeInterface();
    Append(shared, MakePictures(face));
    Append(shared, MakeHelpPages(face, objects));

    if (!options.contact_sheet.empty() &&
        !WritePng(options.contact_sheet, ContactSheet(shared, objects, face))) {
        std::fprintf(stderr, "assetgen: cannot write %s\n", options.contact_sheet.c_str());
        return 1;
    }
    if (!options.icons.empty() && !WriteIcons(options.icons)) return 1;
    if (options.out.empty()) return 0;

    const fs::path out(options.out);
    const fs::path share = out / "gfx" / "share";
    const fs::path objects_dir = out / "gfx" / "obj";
    const fs::path sfx = out / "sfx";
    const fs::path fnt = out / "fnt";
    std::error_code ec;
    for (const fs::path& dir : {share, objects_dir, sfx, fnt, out / "prf", out / "wld"}) {
        fs::create_directories(dir, ec);
        if (ec) {
            std::fprintf(stderr, "assetgen: cannot create %s\n", dir.c_str());
            return 1;
        }
    }

    if (!WriteImages(objects_dir, objects) || !WriteImages(share, shared)) return 1;
    const std::string list = EditorList(objects);
    if (!WriteFile((objects_dir / "list.txt").string(), {list.begin(), list.end()})) return 1;

    // Tracks are only ever added or replaced: the editor saves its own beside them.
    std::string error;
    const std::vector<TrackFile> tracks = MakeTracks(objects, error);
    if (tracks.empty()) {
        std::fprintf(stderr, "assetgen: %s\n", error.c_str());
        return 1;
    }
    for (const TrackFile& track : tracks)
        if (!WriteFile((out / "wld" / (track.name + ".wld")).string(), track.bytes)) return 1;

    std::set<std::string> sounds_written;
    for (const SoundAsset& sound : MakeSounds()) {
        const std::string file = sound.name + ".wav";
        if (!WriteFile((sfx / file).string(), EncodeWav(sound.samples, kSampleRate))) return 1;
        sounds_written.insert(file);
    }
    RemoveStale(sfx, ".wav", sounds_written);
    if (!WriteFile((sfx / "menu.xm").string(), EncodeXm(MakeMenuSong()))) return 1;

    const BitmapFont font = BuildBitmapFont(face);
    if (!WriteFile((fnt / "font.tga").string(), EncodeTga(font.atlas)) ||
        !WriteFile((fnt / "font.ofi").string(), {font.metrics.begin(), font.metrics.end()}))
        return 1;

    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::printf("assetgen: %zu object and %zu share textures, %zu sounds, font, %zu tracks in %.2f s\n",
                objects.size(), shared.size(), sounds_written.size(), tracks.size(), seconds);
    return 0;
}
