#include "pack/segment_splitter.h"

#include <algorithm>

#include "pack/records.h"

namespace kav::pack {
namespace {

std::uint64_t ShareOf(std::uint64_t segmentSize) {
    return std::max(segmentSize, kSmallestSegment) - archive::TSegIdHeader::kSize;
}

std::uint64_t FirstShareOf(std::uint64_t segmentSize, std::uint64_t firstSegmentSize) {
    return ShareOf(firstSegmentSize != 0 ? firstSegmentSize : segmentSize);
}

}  // namespace

SegmentSplitter::SegmentSplitter(std::uint64_t segmentSize, OpenSegment open,
                                 std::uint64_t firstSegmentSize)
    : share_(ShareOf(segmentSize)),
      firstShare_(FirstShareOf(segmentSize, firstSegmentSize)),
      open_(std::move(open)) {}

std::uint64_t SegmentSplitter::SegmentsFor(std::uint64_t streamSize, std::uint64_t segmentSize,
                                           std::uint64_t firstSegmentSize) {
    const std::uint64_t first = FirstShareOf(segmentSize, firstSegmentSize);
    if (streamSize <= first) return 1;
    const std::uint64_t share = ShareOf(segmentSize);
    return 1 + (streamSize - first + share - 1) / share;
}

void SegmentSplitter::StartSegment() {
    if (current_) current_->Close();
    current_ = open_(++number_);
    WriteRecord(*current_, SegIdRecord(number_));
    room_ = number_ == 1 ? firstShare_ : share_;
}

void SegmentSplitter::Write(const std::uint8_t* data, std::size_t size) {
    while (size > 0) {
        if (!current_ || room_ == 0) StartSegment();
        const std::size_t piece = static_cast<std::size_t>(std::min<std::uint64_t>(size, room_));
        current_->Write(data, piece);
        room_ -= piece;
        data += piece;
        size -= piece;
    }
}

std::uint16_t SegmentSplitter::Finish() {
    if (!current_) StartSegment();
    current_->Close();
    current_.reset();
    return number_;
}

}  // namespace kav::pack
