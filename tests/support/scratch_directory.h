#pragma once
// A unique folder below C:\kavtest for one test, removed with everything in
// it when the test ends.
#include <string>

namespace kav::platform::testing {

class ScratchDirectory {
public:
    ScratchDirectory();
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;
    ~ScratchDirectory();

    // The folder, without a trailing "\".
    const std::string& Path() const { return path_; }
    // Path() + "\" + name.
    std::string operator/(const std::string& name) const { return path_ + "\\" + name; }

private:
    std::string path_;
};

// Removes a file or a directory tree; read-only files included.
void RemoveTree(const std::string& path);

// A file with exactly these bytes, made through the Windows API directly.
void WriteWholeFile(const std::string& path, const std::string& bytes);

// A unique key name below Software\KavTest, deleted with its subkeys from
// HKEY_CURRENT_USER and HKEY_LOCAL_MACHINE when the owner ends.
class ScratchRegistryKey {
public:
    ScratchRegistryKey();
    ScratchRegistryKey(const ScratchRegistryKey&) = delete;
    ScratchRegistryKey& operator=(const ScratchRegistryKey&) = delete;
    ~ScratchRegistryKey();

    // "Software\KavTest\<unique>", relative to either root.
    const std::string& Name() const { return name_; }

private:
    std::string name_;
};

// A name no other scratch object of this run has: process id and a count.
std::string UniqueName();

}  // namespace kav::platform::testing
