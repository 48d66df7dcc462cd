#pragma once
// Byte streams. All archive code reads and writes through these, so that the
// same code runs on real files, simulated files and memory.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace kav::platform {

class Stream {
public:
    Stream() = default;
    Stream(const Stream&) = delete;
    Stream& operator=(const Stream&) = delete;
    virtual ~Stream() = default;

    // Reads up to `count` bytes; returns how many came (0 at the end or on a
    // read failure). Never throws for a short read.
    virtual std::size_t Read(void* buffer, std::size_t count) = 0;
    // Writes exactly `count` bytes or throws EWriteError; a partial write is
    // an error, never silently accepted.
    virtual void WriteExactly(const void* buffer, std::size_t count) = 0;
    virtual std::int64_t Position() const = 0;
    virtual std::int64_t Size() const = 0;
    // Moves to an absolute position; positions past the end are allowed for
    // reading (reads then return 0). Throws EInOutError when impossible.
    virtual void Seek(std::int64_t position) = 0;
};

// A file opened through the file system interface.
class FileStream : public Stream {
public:
    // Sets the file's last-write time from a DOS date-time (date in the high
    // 16 bits, time in the low 16 bits, local time) through the open file.
    // Returns false when the system refuses; the file is unchanged then.
    virtual bool SetDosDateTime(std::uint32_t dosDateTime) = 0;
    // Sets the file's attributes (as FileSystem::SetAttributes does by name)
    // through the open file, which spares opening it again by its name.
    // Returns false when this cannot be done through the open file; the
    // caller then sets them by name once the file is closed.
    virtual bool SetAttributes(std::uint32_t) { return false; }
};

// A stream over a growable byte vector; reading and writing share the
// position, as for a file.
class MemoryStream final : public Stream {
public:
    MemoryStream() = default;
    explicit MemoryStream(std::vector<std::uint8_t> bytes) : bytes_(std::move(bytes)) {}

    std::size_t Read(void* buffer, std::size_t count) override;
    void WriteExactly(const void* buffer, std::size_t count) override;
    std::int64_t Position() const override { return position_; }
    std::int64_t Size() const override { return static_cast<std::int64_t>(bytes_.size()); }
    void Seek(std::int64_t position) override;

    const std::vector<std::uint8_t>& Bytes() const { return bytes_; }

private:
    std::vector<std::uint8_t> bytes_;
    std::int64_t position_ = 0;
};

}  // namespace kav::platform
