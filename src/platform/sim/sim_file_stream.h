#pragma once
// A file of the simulated machine opened through its file system: a host
// file descriptor that stays registered in the open-file table while open.
#include <cstdint>
#include <functional>
#include <memory>

#include "platform/sim/open_file_table.h"
#include "platform/stream.h"

namespace kav::platform::sim {

class SimFileStream final : public FileStream {
public:
    // Sets the attributes of the file opened; its file system gives it.
    using AttributeSetter = std::function<bool(std::uint32_t)>;

    // Takes ownership of `descriptor` and registers the open in `table`.
    SimFileStream(int descriptor, FileIdentity identity, OpenMode mode,
                  std::shared_ptr<OpenFileTable> table, AttributeSetter setAttributes = {});
    ~SimFileStream() override;

    std::size_t Read(void* buffer, std::size_t count) override;
    void WriteExactly(const void* buffer, std::size_t count) override;
    std::int64_t Position() const override { return position_; }
    std::int64_t Size() const override;
    void Seek(std::int64_t position) override;
    bool SetDosDateTime(std::uint32_t dosDateTime) override;
    bool SetAttributes(std::uint32_t attributes) override;

private:
    int descriptor_;
    FileIdentity identity_;
    OpenMode mode_;
    std::shared_ptr<OpenFileTable> table_;
    AttributeSetter setAttributes_;
    std::int64_t position_ = 0;
};

}  // namespace kav::platform::sim
