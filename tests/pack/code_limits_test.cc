// The coders' limits at their edges: Huffman code lengths capped at 16
// bits on counts whose tree runs deeper (Fibonacci counts), and the segment
// count at exactly k shares and one byte more, up to the 999 segments the
// installer reads.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "pack/huffman_code.h"
#include "pack/pack_errors.h"
#include "pack/segment_splitter.h"
#include "pack/set_writer.h"

namespace kav::pack {
namespace {

namespace fs = std::filesystem;

class DiscardingSink final : public ByteSink {
public:
    void Write(const std::uint8_t*, std::size_t) override {}
};

TEST(CodeLimits, HuffmanLengthsStayWithinSixteenBitsAndFillTheCodeSpace) {
    // Fibonacci counts give a tree as deep as it has leaves; unused symbols
    // between them get no code.
    std::vector<std::uint32_t> counts;
    std::uint32_t a = 1, b = 1;
    for (int i = 0; i < 30; ++i) {
        counts.push_back(a);
        counts.push_back(0);
        const std::uint32_t next = a + b;
        a = b;
        b = next;
    }
    for (const auto& frequencies :
         {counts, std::vector<std::uint32_t>{5, 9}, std::vector<std::uint32_t>(510, 1)}) {
        const auto lengths = CodeLengths(frequencies);
        ASSERT_EQ(lengths.size(), frequencies.size());
        std::uint64_t kraft = 0;
        for (std::size_t s = 0; s < lengths.size(); ++s) {
            EXPECT_EQ(lengths[s] != 0, frequencies[s] != 0) << s;
            EXPECT_LE(lengths[s], kMaxCodeBits) << s;
            if (lengths[s] != 0) kraft += std::uint64_t{1} << (kMaxCodeBits - lengths[s]);
            // A more frequent symbol never has a longer code.
            for (std::size_t t = 0; t < lengths.size(); ++t) {
                if (frequencies[t] != 0 && frequencies[s] > frequencies[t]) {
                    EXPECT_LE(lengths[s], lengths[t]) << s << " " << t;
                }
            }
        }
        EXPECT_EQ(kraft, std::uint64_t{1} << kMaxCodeBits) << frequencies.size();
    }
}

TEST(CodeLimits, SegmentCountAtTheShareEdgesAndTheLargestSet) {
    const std::uint64_t share = kSmallestSegment - 8;  // less the segment's record
    EXPECT_EQ(SegmentSplitter::SegmentsFor(0, kSmallestSegment), 1u);
    for (std::uint64_t k : {1u, 2u, 999u}) {
        EXPECT_EQ(SegmentSplitter::SegmentsFor(k * share, kSmallestSegment), k);
        EXPECT_EQ(SegmentSplitter::SegmentsFor(k * share + 1, kSmallestSegment), k + 1);
        std::uint64_t opened = 0;
        SegmentSplitter splitter(kSmallestSegment, [&](std::uint16_t) {
            ++opened;
            return std::make_unique<DiscardingSink>();
        });
        const std::vector<std::uint8_t> bytes(k * share, 0);
        splitter.Write(bytes.data(), k * share);
        EXPECT_EQ(splitter.Finish(), k);
        EXPECT_EQ(opened, k);
    }

    // A set that fills exactly 999 segments is written; one byte more is
    // refused before anything is written.
    const fs::path dir =
        fs::temp_directory_path() /
        ("code-limits-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
    fs::remove_all(dir);
    fs::create_directories(dir / "out");
    PackFile file;
    file.hostPath = dir / "data.bin";
    file.storedName = "data.bin";
    const PackOptions options{.method = lzh::coNone, .segmentSize = kSmallestSegment};
    std::ofstream(file.hostPath).put('x');
    file.size = 1;
    const SetSummary small = WriteSegmentSet({file}, options, dir / "out");
    ASSERT_EQ(small.segments, 1u);
    const std::uint64_t overhead = small.setBytes - 8 - file.size;
    file.size = 999 * share - overhead;
    fs::resize_file(file.hostPath, file.size);
    EXPECT_EQ(WriteSegmentSet({file}, options, dir / "out").segments, 999u);
    ++file.size;
    fs::resize_file(file.hostPath, file.size);
    fs::remove_all(dir / "out");
    fs::create_directories(dir / "out");
    EXPECT_THROW(WriteSegmentSet({file}, options, dir / "out"), EPackError);
    EXPECT_FALSE(fs::exists(dir / "out" / "disk.001"));
    fs::remove_all(dir);
}

}  // namespace
}  // namespace kav::pack
