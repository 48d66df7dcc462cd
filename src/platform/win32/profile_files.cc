#include "platform/win32/profile_files.h"

#include <windows.h>

#include <algorithm>
#include <unordered_map>

#include "base/ascii_case.h"
#include "base/profile_lines.h"
#include "platform/win32/read_only_guard.h"

namespace kav::platform {
namespace {

// A value keeps at most 1023 characters, as the program has always read it.
// A section is first read into 8192 bytes, and into a buffer twice as large
// while it does not fit.
constexpr DWORD kValueBufferSize = 1024;
constexpr DWORD kSectionBufferSize = 8192;

// A section read of `size` bytes: the raw double-zero-terminated list of the
// section's lines as the API filled it, and the API's returned length.
struct RawSection {
    std::string bytes;
    DWORD length;
};

RawSection ReadSectionLines(const std::string& file, const std::string& section, DWORD size) {
    std::string buffer(size, '\0');
    const DWORD length =
        ::GetPrivateProfileSectionA(section.c_str(), buffer.data(), size, file.c_str());
    return {std::move(buffer), length};
}

std::vector<std::string> SplitZeroList(const std::string& bytes, std::size_t length) {
    std::vector<std::string> names;
    std::size_t start = 0;
    while (start < length && bytes[start] != '\0') {
        const std::size_t end = bytes.find('\0', start);
        names.push_back(bytes.substr(start, end - start));
        start = end + 1;
    }
    return names;
}

// A value as a read by name delivers it: trimmed, one pair of enclosing
// quotes removed, cut to the read buffer's length.
std::string ProfileValue(const std::string& text) {
    std::string_view value = base::TrimBlanks(text);
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        value = value.substr(1, value.size() - 2);
    }
    return std::string(value.substr(0, kValueBufferSize - 1));
}

// The file the profile functions use for `file`: a bare name lies in the
// Windows directory, anything else is resolved against the current one.
std::string ProfilePath(const std::string& file) {
    if (file.find_first_of("\\/") == std::string::npos) {
        char directory[MAX_PATH] = {};
        const UINT length = ::GetWindowsDirectoryA(directory, MAX_PATH);
        if (length > 0 && length < MAX_PATH) return std::string(directory, length) + "\\" + file;
    }
    return file;
}

}  // namespace

std::string Win32ProfileFiles::ReadString(const std::string& file, const std::string& section,
                                          const std::string& key, const std::string& defaultValue) {
    char buffer[kValueBufferSize] = {};
    const DWORD length = ::GetPrivateProfileStringA(
        section.c_str(), key.c_str(), defaultValue.c_str(), buffer, kValueBufferSize, file.c_str());
    return std::string(buffer, std::min<DWORD>(length, kValueBufferSize - 1));
}

// The section's lines, read whole however long: a listing cut at a
// buffer's end would silently lose the lines after it.
std::vector<std::string> Win32ProfileFiles::SectionLines(const std::string& file,
                                                         const std::string& section) {
    DWORD size = kSectionBufferSize;
    RawSection lines = ReadSectionLines(file, section, size);
    while (lines.length >= size - 2 && size < (1u << 26)) {
        size *= 2;
        lines = ReadSectionLines(file, section, size);
    }
    return SplitZeroList(lines.bytes, lines.length);
}

std::vector<std::string> Win32ProfileFiles::ListKeys(const std::string& file,
                                                     const std::string& section) {
    // The key listing of GetPrivateProfileStringA leaves out lines without
    // "=" (such as a PATH line of an AUTOEXEC.BAT section), which the script
    // lists by their whole text. A section read keeps them: each line is its
    // text up to the first "=".
    std::vector<std::string> names;
    for (const std::string& line : SectionLines(file, section)) {
        names.push_back(line.substr(0, line.find('=')));
    }
    return names;
}

ProfileFiles::KeyValues Win32ProfileFiles::ReadSectionValues(const std::string& file,
                                                             const std::string& section) {
    // One section read instead of a search of the file for every key. Each
    // key gets the value of its first line, as a read by name finds it,
    // trimmed, one pair of enclosing quotes removed, cut as a read is.
    KeyValues values;
    std::unordered_map<std::string, std::string> firstValues;  // by upper-case key
    for (const std::string& line : SectionLines(file, section)) {
        const std::size_t equals = line.find('=');
        std::string key = line.substr(0, equals);
        std::string value = equals == std::string::npos ? std::string() : line.substr(equals + 1);
        const auto first =
            firstValues.emplace(base::AsciiUpper(base::TrimBlanks(key)), ProfileValue(value));
        values.emplace_back(std::move(key), first.first->second);
    }
    return values;
}

bool Win32ProfileFiles::WriteString(const std::string& file, const std::string& section,
                                    const std::string& key, const std::string& value) {
    if (IsReadOnlyFile(ProfilePath(file))) return false;
    return ::WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(),
                                        file.c_str()) != FALSE;
}

bool Win32ProfileFiles::RemoveSection(const std::string& file, const std::string& section) {
    if (IsReadOnlyFile(ProfilePath(file))) return false;
    return ::WritePrivateProfileStringA(section.c_str(), nullptr, nullptr, file.c_str()) != FALSE;
}

bool Win32ProfileFiles::RemoveKey(const std::string& file, const std::string& section,
                                  const std::string& key) {
    if (IsReadOnlyFile(ProfilePath(file))) return false;
    return ::WritePrivateProfileStringA(section.c_str(), key.c_str(), nullptr, file.c_str()) !=
           FALSE;
}

}  // namespace kav::platform
