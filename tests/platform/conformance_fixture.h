#pragma once
// The fixture of the platform conformance suite. The suite is written once
// against the platform interfaces and runs on both machines, so it uses
// nothing but those interfaces (no host calls) and checks what Windows
// promises, not how one implementation happens to answer.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "support/machine_under_test.h"

namespace kav::platform::testing {

class PlatformConformance : public ::testing::Test {
protected:
    void SetUp() override {
        mut_ = MakeMachineUnderTest();
        savedCurrentDirectory_ = Files().CurrentDirectory();
    }
    void TearDown() override {
        // The current directory is the process's: leave it as found.
        Files().ChangeDirectory(savedCurrentDirectory_);
    }

    Machine& M() { return mut_->Get(); }
    FileSystem& Files() { return M().Files(); }
    ProfileFiles& Profiles() { return M().Profiles(); }
    Registry& Reg() { return M().RegistryKeys(); }
    const std::string& Scratch() const { return mut_->Scratch(); }
    const std::string& Key() const { return mut_->RegistryKey(); }
    const std::string& Unique() const { return mut_->UniqueName(); }
    std::string InScratch(const std::string& name) const { return Scratch() + "\\" + name; }

    void WriteFile(const std::string& path, const std::string& bytes) {
        auto stream = Files().Create(path);
        stream->WriteExactly(bytes.data(), bytes.size());
    }
    std::string ReadFile(const std::string& path) {
        auto stream = Files().OpenRead(path);
        std::string bytes(static_cast<std::size_t>(stream->Size()), '\0');
        bytes.resize(stream->Read(bytes.data(), bytes.size()));
        return bytes;
    }

private:
    std::unique_ptr<MachineUnderTest> mut_;
    std::string savedCurrentDirectory_;
};

// Upper-cased copy, for comparisons Windows makes without regard to case.
std::string Upper(std::string text);
// True when `name` has the 8.3 form: 1-8 characters, optionally "." and 1-3.
bool HasShortForm(const std::string& name);
// The "\"-separated components after "X:\".
std::vector<std::string> ComponentsOf(const std::string& path);
// The non-blank lines of a text, without their line ends.
std::vector<std::string> NonBlankLines(const std::string& text);

}  // namespace kav::platform::testing
