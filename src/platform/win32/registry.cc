#include "platform/win32/registry.h"

#include <windows.h>

#include "platform/win32/handles.h"

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
    if (::RegCreateKeyExA(RootHandle(root), RelativeKeyName(key).c_str(), 0, nullptr,
                          REG_OPTION_NON_VOLATILE, access, nullptr, handle.Receive(),
                          &disposition) != ERROR_SUCCESS) {
        handle.Release();  // the API leaves the out value undefined on failure
    }
    return handle;
}

}  // namespace

bool Win32Registry::CreateKey(RootKey root, const std::string& key) {
    return CreateOrOpen(root, key, KEY_READ).Valid();
}

bool Win32Registry::SetStringValue(RootKey root, const std::string& key, const std::string& name,
                                   const std::string& value) {
    const RegistryKey handle = CreateOrOpen(root, key, KEY_SET_VALUE);
    if (!handle) return false;
    // REG_SZ data is stored with its terminating zero.
    return ::RegSetValueExA(handle.Get(), name.c_str(), 0, REG_SZ,
                            reinterpret_cast<const BYTE*>(value.c_str()),
                            static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
}

std::optional<std::string> Win32Registry::ReadStringValue(RootKey root, const std::string& key,
                                                          const std::string& name) {
    RegistryKey handle;
    if (::RegOpenKeyExA(RootHandle(root), RelativeKeyName(key).c_str(), 0, KEY_QUERY_VALUE,
                        handle.Receive()) != ERROR_SUCCESS) {
        handle.Release();
        return std::nullopt;
    }
    // The value may change size between the two calls; ask again until the
    // buffer was large enough.
    for (int attempt = 0; attempt < 4; ++attempt) {
        DWORD type = 0;
        DWORD size = 0;
        if (::RegQueryValueExA(handle.Get(), name.c_str(), nullptr, &type, nullptr, &size) !=
            ERROR_SUCCESS) {
            return std::nullopt;
        }
        if (type != REG_SZ && type != REG_EXPAND_SZ) return std::nullopt;
        std::string buffer(size + 1, '\0');
        DWORD filled = size;
        const LONG status = ::RegQueryValueExA(handle.Get(), name.c_str(), nullptr, &type,
                                               reinterpret_cast<BYTE*>(buffer.data()), &filled);
        if (status == ERROR_MORE_DATA) continue;
        if (status != ERROR_SUCCESS) return std::nullopt;
        // Stored data need not end in a zero, and may hold one early.
        buffer.resize(filled);
        const std::size_t end = buffer.find('\0');
        if (end != std::string::npos) buffer.resize(end);
        return buffer;
    }
    return std::nullopt;
}

}  // namespace kav::platform
