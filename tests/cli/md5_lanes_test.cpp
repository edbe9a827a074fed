// Several digests side by side: each must equal the one-message digest of the
// same bytes, whatever the lengths of the messages beside it and however each
// is cut into pieces.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "cli/md5.h"
#include "cli/md5_lanes.h"

namespace tavimor::test {
namespace {

struct Message {
    std::vector<uint8_t> bytes;
    Md5Pieces pieces;
};

// Random bytes cut into random pieces, some of them empty.
Message random_message(std::mt19937& random, size_t length) {
    Message message;
    message.bytes.resize(length);
    for (uint8_t& byte : message.bytes) byte = static_cast<uint8_t>(random());
    size_t at = 0;
    while (at < length) {
        const size_t piece = std::min<size_t>(length - at, random() % 3 == 0 ? 0 : random() % 150);
        message.pieces.emplace_back(message.bytes.data() + at, piece);
        at += piece;
    }
    return message;
}

std::string one_digest(const Message& message) {
    Md5 md5;
    md5.update(message.bytes.data(), message.bytes.size());
    return md5.hex_digest();
}

TEST(Md5Lanes, EachDigestEqualsTheOneMessageDigest) {
    std::mt19937 random(7);
    // Lengths about the block edges, where the padding takes one block or two.
    const size_t lengths[] = {0, 1, 55, 56, 57, 63, 64, 65, 119, 120, 128, 1000, 4096, 5000};
    for (int count = 1; count <= 9; ++count)
        for (int round = 0; round < 6; ++round) {
            std::vector<Message> messages;
            for (int m = 0; m < count; ++m)
                messages.push_back(random_message(random, lengths[random() % std::size(lengths)]));
            std::vector<const Md5Pieces*> pieces;
            for (const Message& message : messages) pieces.push_back(&message.pieces);
            const std::vector<std::string> digests = md5_hex_digests(pieces);
            ASSERT_EQ(digests.size(), messages.size());
            for (int m = 0; m < count; ++m)
                EXPECT_EQ(digests[m], one_digest(messages[m]))
                    << "message " << m << " of " << count << ", " << messages[m].bytes.size()
                    << " bytes";
        }
}

TEST(Md5Lanes, KnownDigestsSideBySide) {
    const std::string texts[] = {"", "abc", "message digest", "abcdefghijklmnopqrstuvwxyz"};
    std::vector<Md5Pieces> pieces;
    for (const std::string& text : texts)
        pieces.push_back({{reinterpret_cast<const uint8_t*>(text.data()), text.size()}});
    const std::vector<const Md5Pieces*> messages = {&pieces[0], &pieces[1], &pieces[2], &pieces[3]};
    const std::vector<std::string> expected = {
        "d41d8cd98f00b204e9800998ecf8427e", "900150983cd24fb0d6963f7d28e17f72",
        "f96b697d7cb7938d525a2f31aaf161d0", "c3fcd3d76192e4007dfb496cca67e13b"};
    EXPECT_EQ(md5_hex_digests(messages), expected);
}

}  // namespace
}  // namespace tavimor::test
