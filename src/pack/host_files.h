#pragma once
// Host files as byte sinks and sources for the set writer.
#include <filesystem>
#include <fstream>
#include <functional>

#include "pack/byte_sink.h"

namespace kav::pack {

class FileSink final : public ByteSink {
public:
    explicit FileSink(const std::filesystem::path& path);
    void Write(const std::uint8_t* data, std::size_t size) override;
    // Flushes and closes; throws when the data did not all reach the file.
    void Close() override;

private:
    std::filesystem::path path_;
    std::ofstream out_;
};

// Reads `path` in pieces, handing each to `take`; throws when it cannot be
// read. Returns the number of bytes read.
std::uint64_t ReadInPieces(const std::filesystem::path& path,
                           const std::function<void(const std::uint8_t*, std::size_t)>& take);

}  // namespace kav::pack
