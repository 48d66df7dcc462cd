#pragma once
// Cuts a set's logical stream into segment files: each file starts with
// its identification record and takes the stream's next bytes until it
// reaches the segment size, wherever that falls.
#include <cstdint>
#include <functional>
#include <memory>

#include "pack/byte_sink.h"

namespace kav::pack {

// Segment files are at least this large; smaller sizes are raised to it.
inline constexpr std::uint64_t kSmallestSegment = 16384;
// The installer names segments with three digits.
inline constexpr std::uint64_t kMostSegments = 999;

class SegmentSplitter final : public ByteSink {
public:
    // Opens the file of segment `number` (1, 2, ...).
    using OpenSegment = std::function<std::unique_ptr<ByteSink>(std::uint16_t number)>;

    // The first segment may be given a size of its own (0: `segmentSize`),
    // so that it fits beside the installer on the first disk.
    SegmentSplitter(std::uint64_t segmentSize, OpenSegment open,
                    std::uint64_t firstSegmentSize = 0);
    void Write(const std::uint8_t* data, std::size_t size) override;
    // Closes the last segment; returns the number of segments written.
    std::uint16_t Finish();

    // Segments a stream of `streamSize` bytes takes.
    static std::uint64_t SegmentsFor(std::uint64_t streamSize, std::uint64_t segmentSize,
                                     std::uint64_t firstSegmentSize = 0);

private:
    void StartSegment();

    std::uint64_t share_;
    std::uint64_t firstShare_;
    OpenSegment open_;
    std::unique_ptr<ByteSink> current_;
    std::uint64_t room_ = 0;
    std::uint16_t number_ = 0;
};

}  // namespace kav::pack
