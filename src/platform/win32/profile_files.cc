#include "platform/win32/profile_files.h"

#include <windows.h>

#include <algorithm>
#include <optional>
#include <unordered_map>
#include <utility>

#include "base/ascii_case.h"
#include "base/profile_document.h"
#include "base/profile_lines.h"
#include "platform/errors.h"
#include "platform/win32/file_system.h"
#include "platform/win32/read_only_guard.h"
#include "platform/win32/wide.h"

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
    std::wstring buffer(size, L'\0');
    const DWORD length =
        ::GetPrivateProfileSectionW(Wide(section).c_str(), buffer.data(), size, Wide(file).c_str());
    // The system's own files are in its code page, which the wide function
    // has read: a line without a code page 1252 form shows "?".
    return {TextFromWide(buffer), length};
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

// A profile named with a directory is one of the set's or the program's own
// files (the script, the uninstall script, a file the set installs): its
// text is code page 1252 like the set, so it is read and written here, with
// the profile functions' rules, by the same document the simulated machine
// keeps. The system's profile functions would read and write it in whatever
// code page the system is set to. A bare name is one of the system's own
// files, in the system's code page, and is left to the system.
bool IsOwnFile(const std::string& file) { return file.find_first_of("\\/") != std::string::npos; }

// The file the profile functions use for `file`: a bare name lies in the
// Windows directory, anything else is resolved against the current one.
std::string ProfilePath(const std::string& file) {
    if (!IsOwnFile(file)) {
        wchar_t directory[MAX_PATH] = {};
        const UINT length = ::GetWindowsDirectoryW(directory, MAX_PATH);
        if (length > 0 && length < MAX_PATH)
            return NameFromWide(std::wstring_view(directory, length)) + "\\" + file;
    }
    return file;
}

// The last document read or written, with the file's full name, size and
// time of writing then: reading a script key by key parses it once, not
// once per key, as long as nobody has written the file since.
struct CachedDocument {
    std::wstring fullName;
    WIN32_FILE_ATTRIBUTE_DATA stamp{};
    std::optional<base::ProfileDocument> document;
};

CachedDocument& Cache() {
    static CachedDocument cache;
    return cache;
}

std::optional<std::pair<std::wstring, WIN32_FILE_ATTRIBUTE_DATA>> StampOf(const std::string& file) {
    const std::wstring wide = Wide(file);
    wchar_t full[32768];
    const DWORD length = ::GetFullPathNameW(wide.c_str(), 32768, full, nullptr);
    if (length == 0 || length >= 32768) return std::nullopt;
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExW(full, GetFileExInfoStandard, &data)) return std::nullopt;
    return std::make_pair(std::wstring(full, length), data);
}

bool SameStamp(const WIN32_FILE_ATTRIBUTE_DATA& a, const WIN32_FILE_ATTRIBUTE_DATA& b) {
    return a.nFileSizeHigh == b.nFileSizeHigh && a.nFileSizeLow == b.nFileSizeLow &&
           ::CompareFileTime(&a.ftLastWriteTime, &b.ftLastWriteTime) == 0;
}

void Remember(const std::string& file, const base::ProfileDocument& document) {
    CachedDocument& cache = Cache();
    cache.document.reset();
    if (const auto stamp = StampOf(file)) {
        cache.fullName = stamp->first;
        cache.stamp = stamp->second;
        cache.document = document;
    }
}

// The document of `file`, valid until the next load or store; null when
// the file cannot be read.
const base::ProfileDocument* LoadDocument(const std::string& file) {
    CachedDocument& cache = Cache();
    const auto stamp = StampOf(file);
    if (stamp && cache.document && cache.fullName == stamp->first &&
        SameStamp(cache.stamp, stamp->second)) {
        return &*cache.document;
    }
    try {
        Win32FileSystem files;
        const auto stream = files.OpenRead(file);
        std::string text(static_cast<std::size_t>(stream->Size()), '\0');
        text.resize(stream->Read(text.data(), text.size()));
        Remember(file, base::ProfileDocument(text));
        return cache.document ? &*cache.document : nullptr;
    } catch (const EPlatformError&) {
        return nullptr;
    }
}

bool StoreDocument(const std::string& file, const base::ProfileDocument& document) {
    Cache().document.reset();
    try {
        Win32FileSystem files;
        const std::string text = document.Text();
        files.Create(file)->WriteExactly(text.data(), text.size());
    } catch (const EPlatformError&) {
        return false;
    }
    Remember(file, document);
    return true;
}

}  // namespace

std::string Win32ProfileFiles::ReadString(const std::string& file, const std::string& section,
                                          const std::string& key, const std::string& defaultValue) {
    if (IsOwnFile(file)) {
        if (const auto document = LoadDocument(file)) {
            if (auto value = document->Read(section, key)) return *value;
        }
        return base::ProfileDocument::MissingValue(defaultValue);
    }
    wchar_t buffer[kValueBufferSize] = {};
    const DWORD length = ::GetPrivateProfileStringW(Wide(section).c_str(), Wide(key).c_str(),
                                                    Wide(defaultValue).c_str(), buffer,
                                                    kValueBufferSize, Wide(file).c_str());
    return TextFromWide(std::wstring_view(buffer, std::min<DWORD>(length, kValueBufferSize - 1)));
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
    if (IsOwnFile(file)) {
        const auto document = LoadDocument(file);
        return document ? document->ListKeys(section) : std::vector<std::string>{};
    }
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
    if (IsOwnFile(file)) {
        const auto document = LoadDocument(file);
        return document ? document->SectionValues(section) : KeyValues{};
    }
    KeyValues values;
    std::unordered_map<std::string, std::string> firstValues;  // by upper-case key
    for (const std::string& line : SectionLines(file, section)) {
        const std::size_t equals = line.find('=');
        std::string key = line.substr(0, equals);
        std::string value = equals == std::string::npos ? std::string() : line.substr(equals + 1);
        const auto first =
            firstValues.emplace(base::AsciiUpper(base::TrimBlanks(key)), base::ProfileValue(value));
        values.emplace_back(std::move(key), first.first->second);
    }
    return values;
}

bool Win32ProfileFiles::WriteString(const std::string& file, const std::string& section,
                                    const std::string& key, const std::string& value) {
    if (IsReadOnlyFile(ProfilePath(file))) return false;
    if (IsOwnFile(file)) {
        base::ProfileDocument document;
        if (Win32FileSystem().FileExists(file)) {
            const base::ProfileDocument* loaded = LoadDocument(file);
            if (!loaded) return false;
            document = *loaded;
        }
        document.Write(section, key, value);
        return StoreDocument(file, document);
    }
    return ::WritePrivateProfileStringW(Wide(section).c_str(), Wide(key).c_str(),
                                        Wide(value).c_str(), Wide(file).c_str()) != FALSE;
}

bool Win32ProfileFiles::RemoveSection(const std::string& file, const std::string& section) {
    if (IsReadOnlyFile(ProfilePath(file))) return false;
    if (IsOwnFile(file)) {
        if (!Win32FileSystem().FileExists(file)) return true;
        const base::ProfileDocument* loaded = LoadDocument(file);
        if (!loaded) return false;
        base::ProfileDocument document = *loaded;
        return !document.RemoveSection(section) || StoreDocument(file, document);
    }
    return ::WritePrivateProfileStringW(Wide(section).c_str(), nullptr, nullptr,
                                        Wide(file).c_str()) != FALSE;
}

bool Win32ProfileFiles::RemoveKey(const std::string& file, const std::string& section,
                                  const std::string& key) {
    if (IsReadOnlyFile(ProfilePath(file))) return false;
    if (IsOwnFile(file)) {
        if (!Win32FileSystem().FileExists(file)) return true;
        const base::ProfileDocument* loaded = LoadDocument(file);
        if (!loaded) return false;
        base::ProfileDocument document = *loaded;
        return !document.RemoveKey(section, key) || StoreDocument(file, document);
    }
    return ::WritePrivateProfileStringW(Wide(section).c_str(), Wide(key).c_str(), nullptr,
                                        Wide(file).c_str()) != FALSE;
}

void Win32ProfileFiles::ForgetParsedFiles() { Cache().document.reset(); }

}  // namespace kav::platform
