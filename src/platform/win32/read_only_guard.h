#pragma once
// Windows refuses to replace or rewrite a read-only file. Wine leaves that
// to the host's permission bits, which a superuser passes: run as root, it
// would truncate or rewrite the file. The writers check the attribute
// themselves so that the rule holds on every host.
#include <string>

namespace kav::platform {

// True when `path` names an existing file (not a directory) whose read-only
// attribute is set.
bool IsReadOnlyFile(const std::string& path);

}  // namespace kav::platform
