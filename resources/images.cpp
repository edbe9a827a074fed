#include "resources/images.h"

#include <map>
#include <string_view>

#include "resources/image_ids.h"

namespace tavimor {

// The text of images.art, compiled in by the build.
extern const std::string_view kImagesArt;

namespace {

struct ImageSet {
    std::vector<Image> strip_images;
    std::map<int, Image> resources;
};

Image join_strip(const std::vector<Image>& images) {
    Image strip;
    if (images.empty()) return strip;
    strip.height = images[0].height;
    for (const Image& image : images) strip.width += image.width;
    strip.argb.assign(static_cast<size_t>(strip.width) * strip.height, 0);
    int left = 0;
    for (const Image& image : images) {
        for (int y = 0; y < image.height && y < strip.height; ++y) {
            for (int x = 0; x < image.width; ++x) {
                strip.argb[static_cast<size_t>(y) * strip.width + left + x] = image.at(x, y);
            }
        }
        left += image.width;
    }
    return strip;
}

ImageSet build_image_set() {
    ImageSet set;
    set.strip_images.resize(kToolbarImageCount);
    for (PixelArtEntry& entry : parse_pixel_art(kImagesArt)) {
        if (entry.kind == "strip" && entry.number >= 0 && entry.number < kToolbarImageCount) {
            set.strip_images[entry.number] = std::move(entry.image);
        } else if (entry.kind == "image") {
            set.resources[entry.number] = std::move(entry.image);
        }
    }
    set.resources[kToolbarStrip] = join_strip(set.strip_images);
    return set;
}

const ImageSet& image_set() {
    static const ImageSet set = build_image_set();
    return set;
}

}  // namespace

const Image& toolbar_image(int index) {
    static const Image empty;
    const ImageSet& set = image_set();
    if (index < 0 || index >= static_cast<int>(set.strip_images.size())) return empty;
    return set.strip_images[index];
}

const Image& load_image(int id) {
    static const Image empty;
    const ImageSet& set = image_set();
    auto found = set.resources.find(id);
    return found == set.resources.end() ? empty : found->second;
}

}  // namespace tavimor
