#pragma once
#include <windows.h>

#include <string>

#include "platform/stream.h"
#include "platform/win32/handles.h"

namespace kav::platform {

// The system's text for the error code `error`, without its final period.
std::string SystemMessage(DWORD error);

// A file opened with CreateFileA; the stream owns the handle.
class Win32FileStream final : public FileStream {
public:
    explicit Win32FileStream(FileHandle handle) : handle_(std::move(handle)) {}

    std::size_t Read(void* buffer, std::size_t count) override;
    void WriteExactly(const void* buffer, std::size_t count) override;
    std::int64_t Position() const override;
    std::int64_t Size() const override;
    void Seek(std::int64_t position) override;
    bool SetDosDateTime(std::uint32_t dosDateTime) override;
    bool SetAttributes(std::uint32_t attributes) override;

private:
    FileHandle handle_;
};

}  // namespace kav::platform
