#include "platform/win32/file_stream.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "platform/errors.h"
#include "platform/win32/wide.h"

namespace kav::platform {
namespace {

// ReadFile and WriteFile take 32-bit counts; larger requests go in pieces.
constexpr std::size_t kMaxTransfer = 0x40000000;

// SetFileInformationByHandle's basic record (FILE_BASIC_INFO). The call came
// with Windows Vista, after the oldest system this program starts on, so it
// is looked up when first needed rather than imported.
struct BasicFileInfo {
    LARGE_INTEGER creationTime;  // 0 leaves a time as it is
    LARGE_INTEGER lastAccessTime;
    LARGE_INTEGER lastWriteTime;
    LARGE_INTEGER changeTime;
    DWORD fileAttributes;
};
constexpr int kFileBasicInfo = 0;
using SetFileInformationByHandleCall = BOOL(WINAPI*)(HANDLE, int, void*, DWORD);

SetFileInformationByHandleCall SetInformationByHandle() {
    static const SetFileInformationByHandleCall call = [] {
        const HMODULE kernel = ::GetModuleHandleW(L"kernel32.dll");
        const FARPROC found =
            kernel != nullptr ? ::GetProcAddress(kernel, "SetFileInformationByHandle") : nullptr;
        SetFileInformationByHandleCall typed = nullptr;
        static_assert(sizeof typed == sizeof found);
        std::memcpy(&typed, &found, sizeof typed);
        return typed;
    }();
    return call;
}

}  // namespace

std::string SystemMessage(DWORD error) {
    wchar_t* text = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::string message = length ? TextFromWide(std::wstring_view(text, length))
                                 : "System error " + std::to_string(error);
    if (text) ::LocalFree(text);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r' ||
                                message.back() == ' ' || message.back() == '.')) {
        message.pop_back();
    }
    return message;
}

std::size_t Win32FileStream::Read(void* buffer, std::size_t count) {
    auto* bytes = static_cast<char*>(buffer);
    std::size_t total = 0;
    while (total < count) {
        const auto request = static_cast<DWORD>(std::min(count - total, kMaxTransfer));
        DWORD got = 0;
        if (!::ReadFile(handle_.Get(), bytes + total, request, &got, nullptr)) break;
        total += got;
        if (got < request) break;
    }
    return total;
}

void Win32FileStream::WriteExactly(const void* buffer, std::size_t count) {
    const auto* bytes = static_cast<const char*>(buffer);
    std::size_t total = 0;
    while (total < count) {
        const auto request = static_cast<DWORD>(std::min(count - total, kMaxTransfer));
        DWORD written = 0;
        const BOOL ok = ::WriteFile(handle_.Get(), bytes + total, request, &written, nullptr);
        if (!ok) throw EWriteError("Stream write error: " + SystemMessage(::GetLastError()));
        if (written < request) throw EWriteError("Stream write error");
        total += written;
    }
}

std::int64_t Win32FileStream::Position() const {
    LARGE_INTEGER zero{};
    LARGE_INTEGER position{};
    if (!::SetFilePointerEx(handle_.Get(), zero, &position, FILE_CURRENT)) return 0;
    return position.QuadPart;
}

std::int64_t Win32FileStream::Size() const {
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(handle_.Get(), &size)) return 0;
    return size.QuadPart;
}

void Win32FileStream::Seek(std::int64_t position) {
    if (position < 0) throw EInOutError("Seek before the start of a stream");
    LARGE_INTEGER target{};
    target.QuadPart = position;
    if (!::SetFilePointerEx(handle_.Get(), target, nullptr, FILE_BEGIN)) {
        throw EInOutError(SystemMessage(::GetLastError()));
    }
}

bool Win32FileStream::SetAttributes(std::uint32_t attributes) {
    const SetFileInformationByHandleCall set = SetInformationByHandle();
    if (set == nullptr) return false;
    BasicFileInfo info{};
    // 0 in the record would mean "unchanged": no attribute at all is NORMAL.
    info.fileAttributes = attributes != 0 ? attributes : FILE_ATTRIBUTE_NORMAL;
    return set(handle_.Get(), kFileBasicInfo, &info, sizeof info) != FALSE;
}

bool Win32FileStream::SetDosDateTime(std::uint32_t dosDateTime) {
    FILETIME local{};
    FILETIME utc{};
    if (!::DosDateTimeToFileTime(static_cast<WORD>(dosDateTime >> 16),
                                 static_cast<WORD>(dosDateTime & 0xFFFF), &local) ||
        !::LocalFileTimeToFileTime(&local, &utc)) {
        return false;
    }
    return ::SetFileTime(handle_.Get(), nullptr, nullptr, &utc) != FALSE;
}

}  // namespace kav::platform
