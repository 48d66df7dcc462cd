#include "platform/win32/read_only_guard.h"

#include <windows.h>

#include "platform/win32/wide.h"

namespace kav::platform {

bool IsReadOnlyFile(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesW(Wide(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) &&
           !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace kav::platform
