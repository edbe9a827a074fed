// The MD5 digests every picture checksum rests on: the reference suite, and
// the same digest however the input is split into updates.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "cli/md5.h"

namespace tavimor::test {
namespace {

std::string digest_of(const std::string& text) {
    Md5 md5;
    md5.update(text.data(), text.size());
    return md5.hex_digest();
}

TEST(Md5Digest, ReferenceSuite) {
    const std::pair<const char*, const char*> suite[] = {
        {"", "d41d8cd98f00b204e9800998ecf8427e"},
        {"a", "0cc175b9c0f1b6a831c399e269772661"},
        {"abc", "900150983cd24fb0d6963f7d28e17f72"},
        {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
        {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
        {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789",
         "d174ab98d277d9f5a5611c2c9f419d9f"},
        {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
         "57edf4a22be3c955ac49da2e2107b67a"},
    };
    for (const auto& [text, digest] : suite)
        EXPECT_EQ(digest_of(text), digest) << '"' << text << '"';
}

TEST(Md5Digest, SplitUpdatesGiveTheWholeDigest) {
    std::string text(1000, '\0');
    for (size_t i = 0; i < text.size(); ++i) text[i] = static_cast<char>(i * 37 + i / 7);
    const std::string whole = digest_of(text);
    for (size_t piece : {1u, 3u, 55u, 56u, 63u, 64u, 65u, 200u}) {
        Md5 md5;
        for (size_t at = 0; at < text.size(); at += piece)
            md5.update(text.data() + at, std::min(piece, text.size() - at));
        EXPECT_EQ(md5.hex_digest(), whole) << piece;
    }
}

}  // namespace
}  // namespace tavimor::test
