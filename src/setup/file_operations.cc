#include "setup/file_operations.h"

#include <memory>
#include <vector>

#include "base/path_parts.h"
#include "platform/errors.h"

namespace kav::setup {

namespace {
constexpr std::size_t kCopyBufferSize = 8192;
}  // namespace

int ExecuteFile(platform::Shell& shell, const std::string& fileName, const std::string& params,
                const std::string& defaultDir, int showCmd) {
    return shell.Execute(fileName, params, defaultDir, showCmd);
}

bool HasAttr(platform::FileSystem& files, const std::string& fileName, std::uint16_t attr) {
    const std::uint32_t attributes = files.GetAttributes(fileName).value_or(0xFFFFFFFFu);
    return (attributes & attr) == attr;
}

void CopyFile(platform::FileSystem& files, const std::string& source,
              const std::string& destination) {
    std::string target = files.FullPathName(destination);
    if (HasAttr(files, target, platform::faDirectory)) {
        if (target.empty() || target.back() != '\\') target += '\\';
        target += base::FileNamePart(source);
    }
    std::vector<std::uint8_t> buffer(kCopyBufferSize);
    std::unique_ptr<platform::FileStream> in = files.OpenRead(source);
    // Windows refuses to replace a read-only file; so must every machine,
    // whatever rights the process has.
    const auto attributes = files.GetAttributes(target);
    if (attributes && (*attributes & platform::faReadOnly) != 0) {
        throw platform::EFCreateError(target, "the file is read-only");
    }
    std::unique_ptr<platform::FileStream> out = files.Create(target);
    try {
        std::size_t count = 0;
        do {
            count = in->Read(buffer.data(), buffer.size());
            if (count > 0) out->WriteExactly(buffer.data(), count);
        } while (count == buffer.size());
    } catch (const platform::EWriteError& error) {
        out.reset();
        files.RemoveFile(target);
        throw platform::EFCreateError(target, error.what());
    }
}

bool ForceDirectories(platform::FileSystem& files, const std::string& directory) {
    std::string dir = directory;
    while (dir.size() > 3 && dir.back() == '\\') dir.pop_back();
    if (dir.empty() || files.DirectoryExists(dir)) return !dir.empty();
    const std::size_t at = dir.find_last_of('\\');
    if (at != std::string::npos && at > 0) {
        std::string parent = dir.substr(0, at);
        if (parent.size() == 2 && parent[1] == ':') parent += '\\';
        if (parent != dir && !ForceDirectories(files, parent)) return false;
    }
    files.MakeDirectory(dir);
    return files.DirectoryExists(dir);
}

}  // namespace kav::setup
