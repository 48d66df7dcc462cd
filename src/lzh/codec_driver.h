#pragma once
// The codec driver: runs one decoder over the compressed bytes of one archive
// entry, between an archive stream and a destination stream.
#include <cstdint>
#include <functional>

#include "lzh/compression_method.h"
#include "platform/exception.h"
#include "platform/processor.h"
#include "platform/stream.h"

namespace kav::lzh {

// Handler of progress: receives the percentage of the entry's compressed
// bytes fetched so far; setting it to -1 stops the input.
using TShowProgressEvent = std::function<void(int& PercentageDone)>;

// Corrupt coded data: "Bad decode table in archive!".
class ELZHBadDecodeTable : public kav::Exception {
public:
    ELZHBadDecodeTable() : kav::Exception("Bad decode table in archive!") {}
};

// Coded data that ends long before the entry's expanded size is reached:
// only padding bits may follow a valid stream's last code, so a decoder
// that would go on inventing data from zero bits stops instead.
class ELZHTruncatedData : public kav::Exception {
public:
    ELZHTruncatedData()
        : kav::Exception("Compressed data ends before the expanded size is reached") {}
};

// What the driver takes from the archive component that calls it.
struct CodecSettings {
    std::int32_t Key = 0;                      // key of locked entries; 0 = none
    TShowProgressEvent OnShowProgress;         // may be empty
    platform::Processor* processor = nullptr;  // yields the time slice; may be null
};

// Expands `compressedSize` bytes of `source` coded with `method` into
// `target` and returns the byte sum of the expanded data modulo 2^32.
// `locked` is true when the entry header's lock field is 2. Methods other
// than coRLE, coLZH and coLZH5 expand nothing and return 0. Throws
// ELZHBadDecodeTable for corrupt data, ELZHTruncatedData for data that ends
// too soon, and passes on the streams' errors.
std::uint32_t ExpandCodedData(const CodecSettings& settings, platform::Stream& source,
                              platform::Stream& target, bool locked, std::uint8_t method,
                              std::int32_t uncompressedSize, std::int32_t compressedSize);

}  // namespace kav::lzh
