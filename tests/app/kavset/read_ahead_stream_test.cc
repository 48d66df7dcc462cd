// kavset's read-ahead view: the same bytes and positions as the stream
// beneath, whatever the sizes asked for and wherever a seek lands.
#include "app/kavset/read_ahead_stream.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/errors.h"

namespace kav::app {
namespace {

std::vector<std::uint8_t> Counting(std::size_t size) {
    std::vector<std::uint8_t> bytes(size);
    for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<std::uint8_t>(i * 7 + i / 251);
    return bytes;
}

TEST(ReadAheadStream, ReadsOfAnySizeGiveTheBytesInOrder) {
    const auto bytes = Counting(3 * ReadAheadStream::kChunk + 123);
    platform::MemoryStream file(bytes);
    ReadAheadStream stream(file);
    std::vector<std::uint8_t> read;
    // Small reads, reads across a chunk's end and one larger than a chunk.
    for (const std::size_t ask : {1u, 5000u, 8192u, 70000u, 8192u, 3u}) {
        std::vector<std::uint8_t> piece(ask);
        const std::size_t got = stream.Read(piece.data(), ask);
        ASSERT_EQ(got, ask);
        read.insert(read.end(), piece.begin(), piece.end());
        EXPECT_EQ(stream.Position(), static_cast<std::int64_t>(read.size()));
    }
    std::vector<std::uint8_t> rest(bytes.size());
    const std::size_t got = stream.Read(rest.data(), rest.size());
    read.insert(read.end(), rest.begin(), rest.begin() + static_cast<std::ptrdiff_t>(got));
    EXPECT_EQ(read, bytes);
    EXPECT_EQ(stream.Read(rest.data(), 1), 0u);
    EXPECT_EQ(stream.Size(), static_cast<std::int64_t>(bytes.size()));
}

TEST(ReadAheadStream, SeeksInsideAndOutsideTheFetchedBytes) {
    const auto bytes = Counting(2 * ReadAheadStream::kChunk);
    platform::MemoryStream file(bytes);
    ReadAheadStream stream(file);
    std::uint8_t byte = 0;
    ASSERT_EQ(stream.Read(&byte, 1), 1u);
    for (const std::int64_t to : {std::int64_t{1000}, std::int64_t{10}, std::int64_t{0},
                                  std::int64_t{ReadAheadStream::kChunk},
                                  std::int64_t{ReadAheadStream::kChunk + 5}, std::int64_t{3}}) {
        stream.Seek(to);
        EXPECT_EQ(stream.Position(), to);
        ASSERT_EQ(stream.Read(&byte, 1), 1u);
        EXPECT_EQ(byte, bytes[static_cast<std::size_t>(to)]) << "at " << to;
    }
    stream.Seek(static_cast<std::int64_t>(bytes.size()) + 10);
    EXPECT_EQ(stream.Read(&byte, 1), 0u);
    EXPECT_THROW(stream.WriteExactly(&byte, 1), platform::EWriteError);
}

}  // namespace
}  // namespace kav::app
