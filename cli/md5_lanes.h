// MD5 digests of several messages at once, four side by side in the lanes of
// one SSE2 register: a single MD5 waits on each of its steps in turn, while
// four independent ones share the waits. Each message is a list of pieces,
// read in place.
#pragma once

#include <string>
#include <vector>

#include "cli/md5_block_feed.h"

namespace tavimor {

// How many messages the lanes take at once.
inline constexpr int kMd5Lanes = 4;

// The digests of the messages, in order, each as 32 lowercase hex digits:
// the same as Md5's for the pieces given one after the other.
std::vector<std::string> md5_hex_digests(const std::vector<const Md5Pieces*>& messages);

}  // namespace tavimor
