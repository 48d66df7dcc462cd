#pragma once
// Helpers shared by the decoder tests: running the codec driver over bytes
// in memory, writing hand-made bit streams, and finding the test data.
#include <cstdint>
#include <string>
#include <vector>

#include "lzh/codec_driver.h"

namespace kav::lzh::test {

using Bytes = std::vector<std::uint8_t>;

struct Expansion {
    Bytes output;
    std::uint32_t sum = 0;
    std::int64_t sourcePosition = 0;  // where the driver left the source
};

// Runs ExpandCodedData over `coded` (its whole length is the compressed size).
Expansion Expand(std::uint8_t method, const Bytes& coded, std::int32_t uncompressedSize,
                 const CodecSettings& settings = {}, bool locked = false);

// Most-significant-bit-first writer for hand-made coded streams.
class BitWriter {
public:
    BitWriter& Put(std::uint32_t value, unsigned bits);
    BitWriter& PutString(const std::string& zerosAndOnes);
    // The bytes written so far, the last one padded with zero bits, followed
    // by `zeroBytes` zero bytes.
    Bytes Finish(std::size_t zeroBytes = 0) const;

private:
    Bytes bytes_;
    unsigned bitCount_ = 0;
};

// A file below the directory named by KAV_TEST_DATA; under Windows a Unix
// path there (as Wine passes it) is turned into its Z: drive form.
std::string TestDataPath(const std::string& relative);
Bytes ReadBinaryFile(const std::string& path);

std::uint32_t ByteSum(const Bytes& bytes);
std::uint64_t Fnv1a64(const Bytes& bytes);

}  // namespace kav::lzh::test
