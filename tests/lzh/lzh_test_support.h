#pragma once
// Helpers shared by the decoder tests: running the codec driver over bytes
// in memory, writing hand-made bit streams, and finding the test data.
#include <cstdint>
#include <string>
#include <vector>

#include "lzh/codec_driver.h"
#include "platform/stream.h"

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

// A source over bytes in memory that records the size of every read.
class RecordingSource final : public platform::Stream {
public:
    explicit RecordingSource(Bytes bytes) : stream_(std::move(bytes)) {}
    std::size_t Read(void* buffer, std::size_t count) override {
        reads.push_back(count);
        return stream_.Read(buffer, count);
    }
    void WriteExactly(const void* buffer, std::size_t count) override {
        stream_.WriteExactly(buffer, count);
    }
    std::int64_t Position() const override { return stream_.Position(); }
    std::int64_t Size() const override { return stream_.Size(); }
    void Seek(std::int64_t position) override { stream_.Seek(position); }

    std::vector<std::size_t> reads;

private:
    platform::MemoryStream stream_;
};

// A target that keeps only the size of every write (and optionally the
// bytes), or fails every write when told to.
class RecordingTarget final : public platform::Stream {
public:
    explicit RecordingTarget(bool keepBytes = true, bool failWrites = false)
        : keepBytes_(keepBytes), failWrites_(failWrites) {}
    std::size_t Read(void*, std::size_t) override { return 0; }
    void WriteExactly(const void* buffer, std::size_t count) override;
    std::int64_t Position() const override { return size_; }
    std::int64_t Size() const override { return size_; }
    void Seek(std::int64_t) override {}

    std::vector<std::size_t> writes;
    Bytes bytes;

private:
    bool keepBytes_;
    bool failWrites_;
    std::int64_t size_ = 0;
};

// Counts the driver's yields.
class CountingProcessor final : public platform::Processor {
public:
    void YieldTimeSlice() override { ++yields; }
    int yields = 0;
};

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

// One line of tests/data/lzh/manifest.txt: a coded stream made by the
// independent encoder and what it must expand to.
struct Fixture {
    std::string stream;  // file name below lzh/; ".lh5" or ".lh1"
    std::int32_t size = 0;
    std::uint32_t sum = 0;
    std::uint64_t hash = 0;  // Fnv1a64 of the expanded bytes
};
std::vector<Fixture> ReadFixtureManifest();
// The method a fixture stream is coded with, by its name.
std::uint8_t FixtureMethod(const std::string& stream);

std::uint32_t ByteSum(const Bytes& bytes);
std::uint64_t Fnv1a64(const Bytes& bytes);

}  // namespace kav::lzh::test
