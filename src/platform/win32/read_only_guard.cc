#include "platform/win32/read_only_guard.h"

#include <windows.h>

namespace kav::platform {

bool IsReadOnlyFile(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) &&
           !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace kav::platform
