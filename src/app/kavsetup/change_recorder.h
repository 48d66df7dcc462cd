#pragma once
// A machine that passes every operation on to another and notes what the
// run changed on it: directories made, files written, registry values set
// and INI entries written. The report lists what is still there at the end.
#include <map>
#include <ostream>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "base/ascii_case.h"
#include "platform/forwarding_machine.h"

namespace kav::app {

class ChangeRecorder final : public platform::ForwardingMachine,
                             platform::FileSystem,
                             platform::Registry,
                             platform::ProfileFiles {
public:
    explicit ChangeRecorder(platform::Machine& machine) : ForwardingMachine(machine) {}

    platform::ProfileFiles& Profiles() override { return *this; }
    platform::Registry& RegistryKeys() override { return *this; }
    platform::FileSystem& Files() override { return *this; }

    // The changes grouped, as text for a person.
    void WriteText(std::ostream& out);
    // The same as one JSON object.
    void WriteJson(std::ostream& out);

private:
    struct Report;
    Report Collect();

    // FileSystem
    std::string CurrentDirectory() override { return files().CurrentDirectory(); }
    bool ChangeDirectory(const std::string& path) override { return files().ChangeDirectory(path); }
    std::string FullPathName(const std::string& path) override {
        return files().FullPathName(path);
    }
    std::vector<platform::FoundFile> FindFiles(const std::string& pattern,
                                               std::uint32_t mask) override {
        return files().FindFiles(pattern, mask);
    }
    bool FileExists(const std::string& path) override { return files().FileExists(path); }
    bool DirectoryExists(const std::string& path) override { return files().DirectoryExists(path); }
    std::optional<std::uint32_t> GetAttributes(const std::string& path) override {
        return files().GetAttributes(path);
    }
    bool SetAttributes(const std::string& path, std::uint32_t attributes) override {
        return files().SetAttributes(path, attributes);
    }
    bool MakeDirectory(const std::string& path) override;
    bool RemoveEmptyDirectory(const std::string& path) override {
        return files().RemoveEmptyDirectory(path);
    }
    bool RemoveFile(const std::string& path) override { return files().RemoveFile(path); }
    std::unique_ptr<platform::FileStream> OpenRead(const std::string& path) override {
        return files().OpenRead(path);
    }
    std::unique_ptr<platform::FileStream> OpenReadExclusive(const std::string& path) override {
        return files().OpenReadExclusive(path);
    }
    std::unique_ptr<platform::FileStream> Create(const std::string& path) override;
    bool MoveOnto(const std::string& source, const std::string& target) override;
    bool MoveToNew(const std::string& source, const std::string& target) override;
    std::optional<std::uint32_t> GetDosDateTime(const std::string& path) override {
        return files().GetDosDateTime(path);
    }
    std::optional<std::uint64_t> FreeSpace(int drive) override { return files().FreeSpace(drive); }
    std::vector<platform::DriveInfo> Drives() override { return files().Drives(); }

    // Registry
    bool CreateKey(platform::RootKey root, const std::string& key) override {
        return Inner().RegistryKeys().CreateKey(root, key);
    }
    bool SetStringValue(platform::RootKey root, const std::string& key, const std::string& name,
                        const std::string& value) override;
    std::optional<std::string> ReadStringValue(platform::RootKey root, const std::string& key,
                                               const std::string& name) override {
        return Inner().RegistryKeys().ReadStringValue(root, key, name);
    }
    bool SetDwordValue(platform::RootKey root, const std::string& key, const std::string& name,
                       std::uint32_t value) override;
    std::optional<std::uint32_t> ReadDwordValue(platform::RootKey root, const std::string& key,
                                                const std::string& name) override {
        return Inner().RegistryKeys().ReadDwordValue(root, key, name);
    }
    bool KeyExists(platform::RootKey root, const std::string& key) override {
        return Inner().RegistryKeys().KeyExists(root, key);
    }
    bool DeleteValue(platform::RootKey root, const std::string& key,
                     const std::string& name) override {
        return Inner().RegistryKeys().DeleteValue(root, key, name);
    }
    bool DeleteKeyTree(platform::RootKey root, const std::string& key) override {
        return Inner().RegistryKeys().DeleteKeyTree(root, key);
    }
    bool DeleteEmptyKey(platform::RootKey root, const std::string& key) override {
        return Inner().RegistryKeys().DeleteEmptyKey(root, key);
    }

    // ProfileFiles
    std::string ReadString(const std::string& file, const std::string& section,
                           const std::string& key, const std::string& defaultValue) override {
        return Inner().Profiles().ReadString(file, section, key, defaultValue);
    }
    std::vector<std::string> ListKeys(const std::string& file,
                                      const std::string& section) override {
        return Inner().Profiles().ListKeys(file, section);
    }
    KeyValues ReadSectionValues(const std::string& file, const std::string& section) override {
        return Inner().Profiles().ReadSectionValues(file, section);
    }
    bool WriteString(const std::string& file, const std::string& section, const std::string& key,
                     const std::string& value) override;
    bool RemoveSection(const std::string& file, const std::string& section) override {
        return Inner().Profiles().RemoveSection(file, section);
    }
    bool RemoveKey(const std::string& file, const std::string& section,
                   const std::string& key) override {
        return Inner().Profiles().RemoveKey(file, section, key);
    }
    void ForgetParsedFiles() override { Inner().Profiles().ForgetParsedFiles(); }

    platform::FileSystem& files() { return Inner().Files(); }
    void NoteValue(platform::RootKey root, const std::string& key, const std::string& name,
                   const std::string& value);
    // Names in first-seen order; a name seen again (in any case) is not
    // added twice, and noting thousands of them never walks the list.
    struct NameList {
        void Note(const std::string& item) {
            if (seen.insert(base::AsciiUpper(item)).second) items.push_back(item);
        }
        std::vector<std::string> items;
        std::set<std::string> seen;
    };

    NameList directories_;
    NameList files_;
    // (root, key, name) in first-set order, with the last value set.
    std::vector<std::tuple<std::string, std::string, std::string>> registryOrder_;
    std::map<std::tuple<std::string, std::string, std::string>, std::string> registryValues_;
    // (file, section, key) in first-written order.
    std::vector<std::tuple<std::string, std::string, std::string>> profileEntries_;
};

}  // namespace kav::app
