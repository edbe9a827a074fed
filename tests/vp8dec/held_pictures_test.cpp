// Held pictures: the planes of the last few shown pictures stay as they were,
// where they were, while the decoder goes on, across hidden frames and size
// changes too.
#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <utility>
#include <vector>

#include "cli/decode_session.h"
#include "cli/md5.h"
#include "tests/support/test_paths.h"

namespace tavimor::test {
namespace {

using Rows = std::vector<std::pair<const uint8_t*, size_t>>;

std::string md5_of(const Rows& rows) {
    Md5 md5;
    for (const auto& [row, size] : rows) md5.update(row, size);
    return md5.hex_digest();
}

struct Kept {
    int64_t picture;
    Rows rows;
    std::string md5;
};

// Decodes a stream holding `held` pictures; after every decode, each of the
// last `held` shown pictures before it must still read as it did when shown.
// Returns how many checks found a picture changed.
int changed_pictures(const std::string& ivf, int held) {
    DecodeSession session(ivf, 0, held);
    std::deque<Kept> kept;
    int changed = 0;
    session.run([&](const DecodedFrame& frame) {
        for (const Kept& k : kept)
            if (md5_of(k.rows) != k.md5) {
                ++changed;
                ADD_FAILURE() << ivf << ": picture " << k.picture << " changed by frame "
                              << frame.index;
            }
        if (!frame.record) return;
        Kept now{frame.picture, {}, picture_md5(*frame.record)};
        add_display_rows(*frame.record, now.rows);
        kept.push_back(std::move(now));
        if (static_cast<int>(kept.size()) > held) kept.pop_front();
    });
    return changed;
}

TEST(HeldPictures, StayUnchangedWhileTheNextPicturesDecode) {
    // Hidden frames, size changes, odd sizes, and plain inter frames.
    for (const char* name :
         {"invisible_96x64", "resize_64x48", "multi_odd_99x77", "sample_320x240"})
        for (int held : {1, 3, 4})
            EXPECT_EQ(changed_pictures(data_path(std::string(name) + ".ivf"), held), 0)
                << name << " holding " << held;
}

}  // namespace
}  // namespace tavimor::test
