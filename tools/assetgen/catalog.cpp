#include "catalog.h"

namespace assetgen {

const Canvas& FindImage(const ImageSet& set, const std::string& name) {
    static const Canvas kEmpty;
    for (const Image& image : set)
        if (image.name == name) return image.canvas;
    return kEmpty;
}

std::string EditorList(const ImageSet& objects) {
    std::string list;
    for (const Image& image : objects) {
        if (!image.listed || image.name.size() < 2 || image.name.back() != '1') continue;
        list += image.name.substr(0, image.name.size() - 1) + "\r\n";
    }
    return list;
}

}  // namespace assetgen
