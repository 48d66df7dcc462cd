#pragma once
// The machine the setup tests run on: the simulated one natively, the real
// one under Wine. Either way the dialogs go to a headless scripted user and
// restart requests to a recorder, so that no test waits on a message box or
// ends a session.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/forwarding_machine.h"
#include "platform/machine.h"
#include "widgets/headless/headless_backend.h"

namespace kav::setup::testing {

class RecordingRestart final : public platform::Restart {
public:
    bool AdjustPrivilege(const std::string& name, bool enable) override {
        calls.push_back(std::string(enable ? "enable " : "disable ") + name);
        return true;
    }
    bool ExitSession(unsigned flags) override {
        calls.push_back("exit " + std::to_string(flags));
        return accept;
    }
    bool RemoveAtRestart(const std::string& path) override {
        calls.push_back("remove at restart " + path);
        return true;
    }
    std::vector<std::string> calls;
    bool accept = true;
};

// The machine's own system directories, with the shell folders and the
// administrator rights a test chooses; what it leaves unchosen is the
// machine's.
class ChosenShellFolders final : public platform::SystemDirectories {
public:
    explicit ChosenShellFolders(platform::SystemDirectories& inner) : inner_(inner) {}
    std::string WindowsDirectory() override { return inner_.WindowsDirectory(); }
    std::string ShortPathName(const std::string& path) override {
        return inner_.ShortPathName(path);
    }
    std::string ShellFolderPath(platform::ShellFolder folder) override {
        const auto found = folders.find(folder);
        return found != folders.end() ? found->second : inner_.ShellFolderPath(folder);
    }
    bool IsAdministrator() override {
        return administrator ? *administrator : inner_.IsAdministrator();
    }

    std::map<platform::ShellFolder, std::string> folders;
    std::optional<bool> administrator;

private:
    platform::SystemDirectories& inner_;
};

// Keeps every event a run notes, for tests to read.
class RecordingLog final : public platform::EventLog {
public:
    void Note(const std::string& event) override { events.push_back(event); }
    std::vector<std::string> events;
};

class TestMachine final : public platform::ForwardingMachine {
public:
    TestMachine(std::unique_ptr<platform::Machine> real, widgets::headless::HeadlessBackend& ui)
        : ForwardingMachine(*real),
          shellFolders(real->SystemDirs()),
          real_(std::move(real)),
          ui_(ui) {}
    platform::Restart& Restarter() override { return restart; }
    platform::SystemDirectories& SystemDirs() override { return shellFolders; }
    platform::Gui& Ui() override { return ui_; }
    platform::EventLog& Log() override { return log; }

    RecordingRestart restart;
    ChosenShellFolders shellFolders;
    RecordingLog log;

private:
    std::unique_ptr<platform::Machine> real_;
    widgets::headless::HeadlessBackend& ui_;
};

class MachineTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    platform::FileSystem& Files() { return machine_->Files(); }
    // A fresh directory for the test, as a Windows path without trailing "\".
    const std::string& Dir() const { return dir_; }
    void WriteFile(const std::string& path, const std::string& content);
    std::string ReadFile(const std::string& path);
    // Whether this is the simulated machine (drive letters beyond C: exist).
    bool Simulated() const;

    widgets::headless::HeadlessBackend ui_;
    std::unique_ptr<TestMachine> machine_;

private:
    std::filesystem::path hostDir_;
    std::string dir_;
    std::string savedCurrentDirectory_;
};

}  // namespace kav::setup::testing
