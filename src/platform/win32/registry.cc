#include "platform/win32/registry.h"

#include <windows.h>

#include <string>
#include <vector>

#include "platform/win32/handles.h"
#include "platform/win32/wide.h"

namespace kav::platform {
namespace {

HKEY RootHandle(RootKey root) {
    return root == RootKey::LocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
}

// Key names may be written as absolute paths ("\Software\..."); the API
// wants them relative to the root.
std::string RelativeKeyName(const std::string& key) {
    return !key.empty() && key.front() == '\\' ? key.substr(1) : key;
}

RegistryKey CreateOrOpen(RootKey root, const std::string& key, REGSAM access) {
    RegistryKey handle;
    DWORD disposition = 0;
    if (::RegCreateKeyExW(RootHandle(root), Wide(RelativeKeyName(key)).c_str(), 0, nullptr,
                          REG_OPTION_NON_VOLATILE, access, nullptr, handle.Receive(),
                          &disposition) != ERROR_SUCCESS) {
        handle.Release();  // the API leaves the out value undefined on failure
    }
    return handle;
}

RegistryKey OpenExisting(RootKey root, const std::string& key, REGSAM access) {
    RegistryKey handle;
    if (::RegOpenKeyExW(RootHandle(root), Wide(RelativeKeyName(key)).c_str(), 0, access,
                        handle.Receive()) != ERROR_SUCCESS) {
        handle.Release();
    }
    return handle;
}

// The key's path without empty components, so that "a\\b\\" names a\b
// and an empty result is recognised as the root.
std::string CleanKeyPath(const std::string& key) {
    std::string clean;
    std::size_t start = 0;
    while (start <= key.size()) {
        std::size_t end = key.find('\\', start);
        if (end == std::string::npos) end = key.size();
        if (end > start) clean += (clean.empty() ? "" : "\\") + key.substr(start, end - start);
        start = end + 1;
    }
    return clean;
}

// The names of the key's sub-keys; empty when it cannot be read. They stay
// wide: a sub-key of any name is removed with its parent.
std::vector<std::wstring> SubKeyNames(HKEY key) {
    std::vector<std::wstring> names;
    wchar_t name[256];
    for (DWORD index = 0;; ++index) {
        DWORD length = static_cast<DWORD>(std::size(name));
        if (::RegEnumKeyExW(key, index, name, &length, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS) {
            break;
        }
        names.emplace_back(name, length);
    }
    return names;
}

// Removes `path` below `parent` with everything below it, leaves first
// (NT's RegDeleteKey refuses a key that still has sub-keys).
bool DeleteTree(HKEY parent, const std::wstring& path, int depth) {
    if (depth > 64) return false;
    {
        RegistryKey handle;
        if (::RegOpenKeyExW(parent, path.c_str(), 0, KEY_READ, handle.Receive()) != ERROR_SUCCESS) {
            handle.Release();
            return true;  // already gone
        }
        for (const std::wstring& child : SubKeyNames(handle.Get())) {
            if (!DeleteTree(handle.Get(), child, depth + 1)) return false;
        }
    }
    return ::RegDeleteKeyW(parent, path.c_str()) == ERROR_SUCCESS;
}

}  // namespace

bool Win32Registry::KeyExists(RootKey root, const std::string& key) {
    return OpenExisting(root, key, KEY_QUERY_VALUE).Valid();
}

bool Win32Registry::DeleteValue(RootKey root, const std::string& key, const std::string& name) {
    const RegistryKey handle = OpenExisting(root, key, KEY_SET_VALUE);
    if (!handle) return true;
    const LONG status = ::RegDeleteValueW(handle.Get(), Wide(name).c_str());
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}

bool Win32Registry::DeleteKeyTree(RootKey root, const std::string& key) {
    const std::string path = CleanKeyPath(key);
    if (path.empty()) return false;
    return DeleteTree(RootHandle(root), Wide(path), 0);
}

bool Win32Registry::DeleteEmptyKey(RootKey root, const std::string& key) {
    const std::string path = CleanKeyPath(key);
    if (path.empty()) return false;
    {
        const RegistryKey handle = OpenExisting(root, path, KEY_READ);
        if (!handle) return false;
        DWORD subKeys = 0, values = 0;
        if (::RegQueryInfoKeyW(handle.Get(), nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr,
                               &values, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS ||
            subKeys != 0 || values != 0) {
            return false;
        }
    }
    return ::RegDeleteKeyW(RootHandle(root), Wide(path).c_str()) == ERROR_SUCCESS;
}

bool Win32Registry::CreateKey(RootKey root, const std::string& key) {
    return CreateOrOpen(root, key, KEY_READ).Valid();
}

bool Win32Registry::SetStringValue(RootKey root, const std::string& key, const std::string& name,
                                   const std::string& value) {
    const RegistryKey handle = CreateOrOpen(root, key, KEY_SET_VALUE);
    if (!handle) return false;
    // REG_SZ data is stored with its terminating zero.
    const std::wstring data = Wide(value);
    return ::RegSetValueExW(handle.Get(), Wide(name).c_str(), 0, REG_SZ,
                            reinterpret_cast<const BYTE*>(data.c_str()),
                            static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t))) ==
           ERROR_SUCCESS;
}

bool Win32Registry::SetDwordValue(RootKey root, const std::string& key, const std::string& name,
                                  std::uint32_t value) {
    const RegistryKey handle = CreateOrOpen(root, key, KEY_SET_VALUE);
    if (!handle) return false;
    const DWORD data = value;
    return ::RegSetValueExA(handle.Get(), name.c_str(), 0, REG_DWORD,
                            reinterpret_cast<const BYTE*>(&data), sizeof data) == ERROR_SUCCESS;
}

std::optional<std::uint32_t> Win32Registry::ReadDwordValue(RootKey root, const std::string& key,
                                                           const std::string& name) {
    const RegistryKey handle = OpenExisting(root, key, KEY_QUERY_VALUE);
    if (!handle) return std::nullopt;
    DWORD type = 0;
    DWORD data = 0;
    DWORD size = sizeof data;
    if (::RegQueryValueExA(handle.Get(), name.c_str(), nullptr, &type,
                           reinterpret_cast<BYTE*>(&data), &size) != ERROR_SUCCESS ||
        type != REG_DWORD || size != sizeof data) {
        return std::nullopt;
    }
    return static_cast<std::uint32_t>(data);
}

std::optional<std::string> Win32Registry::ReadStringValue(RootKey root, const std::string& key,
                                                          const std::string& name) {
    const RegistryKey handle = OpenExisting(root, key, KEY_QUERY_VALUE);
    if (!handle) return std::nullopt;
    const std::wstring wideName = Wide(name);
    // The value may change size between the two calls; ask again until the
    // buffer was large enough.
    for (int attempt = 0; attempt < 4; ++attempt) {
        DWORD type = 0;
        DWORD size = 0;
        if (::RegQueryValueExW(handle.Get(), wideName.c_str(), nullptr, &type, nullptr, &size) !=
            ERROR_SUCCESS) {
            return std::nullopt;
        }
        if (type != REG_SZ && type != REG_EXPAND_SZ) return std::nullopt;
        std::wstring buffer(size / sizeof(wchar_t) + 1, L'\0');
        DWORD filled = size;
        const LONG status = ::RegQueryValueExW(handle.Get(), wideName.c_str(), nullptr, &type,
                                               reinterpret_cast<BYTE*>(buffer.data()), &filled);
        if (status == ERROR_MORE_DATA) continue;
        if (status != ERROR_SUCCESS) return std::nullopt;
        // Stored data need not end in a zero, and may hold one early.
        buffer.resize(filled / sizeof(wchar_t));
        const std::size_t end = buffer.find(L'\0');
        if (end != std::wstring::npos) buffer.resize(end);
        // A value that has no code page 1252 form (a path in another
        // script) is refused with its name, never read as another path.
        return NameFromWide(buffer);
    }
    return std::nullopt;
}

}  // namespace kav::platform
