// Gathered writes and reads: every byte in order, however the system splits
// the calls, and failures reported.
#include "vp8module/gathered_io.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

namespace tavimor::test {
namespace {

// Pieces of a run of bytes, with gaps between them so that none are joined,
// more of them than one call takes.
std::vector<uint8_t> scattered_bytes(Pieces& pieces, std::string& expected) {
    std::vector<uint8_t> memory(3 * 3000 * 97);
    for (size_t i = 0; i < memory.size(); ++i) memory[i] = static_cast<uint8_t>(i * 7 + i / 251);
    for (size_t at = 0; at + 97 <= memory.size(); at += 3 * 97) {
        add_piece(pieces, memory.data() + at, 97);
        expected.append(reinterpret_cast<const char*>(memory.data() + at), 97);
    }
    return memory;
}

TEST(GatheredIo, APipeGetsEveryPieceInOrderThroughPartialWrites) {
    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    Pieces pieces;
    std::string expected;
    const std::vector<uint8_t> memory = scattered_bytes(pieces, expected);
    ASSERT_GT(pieces.size(), static_cast<size_t>(IOV_MAX)) << "more pieces than one call takes";
    std::string received;
    std::thread reader([&] {
        char chunk[1000];
        for (ssize_t got; (got = ::read(ends[0], chunk, sizeof chunk)) > 0;)
            received.append(chunk, static_cast<size_t>(got));
    });
    const bool written = write_pieces(ends[1], pieces, -1);
    ::close(ends[1]);
    reader.join();
    ::close(ends[0]);
    EXPECT_TRUE(written);
    EXPECT_TRUE(received == expected) << received.size() << " of " << expected.size();
}

TEST(GatheredIo, AFileIsWrittenAndReadBackAtAnOffset) {
    char path[] = "/tmp/tavimor-gathered-XXXXXX";
    const int fd = ::mkstemp(path);
    ASSERT_GE(fd, 0);
    ::unlink(path);
    Pieces pieces;
    std::string expected;
    const std::vector<uint8_t> memory = scattered_bytes(pieces, expected);
    EXPECT_TRUE(write_pieces(fd, pieces, 5000));
    std::vector<uint8_t> back(expected.size() + 10, 0);
    Pieces into;
    add_piece(into, back.data(), expected.size());
    EXPECT_TRUE(read_pieces(fd, into, 5000));
    EXPECT_EQ(std::string(back.begin(), back.begin() + static_cast<long>(expected.size())),
              expected);
    // Past the end of the file a read fails instead of leaving bytes unread.
    Pieces beyond;
    add_piece(beyond, back.data(), 10);
    EXPECT_FALSE(read_pieces(fd, beyond, 5000 + static_cast<int64_t>(expected.size())));
    ::close(fd);
}

TEST(GatheredIo, AdjoiningPiecesAreJoinedAndEmptyOnesDropped) {
    uint8_t bytes[40] = {};
    Pieces pieces;
    add_piece(pieces, bytes, 10);
    add_piece(pieces, bytes + 10, 0);
    add_piece(pieces, bytes + 10, 10);
    add_piece(pieces, bytes + 30, 10);
    ASSERT_EQ(pieces.size(), 2u);
    EXPECT_EQ(pieces[0].iov_len, 20u);
    EXPECT_EQ(pieces[1].iov_base, bytes + 30);
}

}  // namespace
}  // namespace tavimor::test
