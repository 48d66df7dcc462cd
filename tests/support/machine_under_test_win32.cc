// The conformance suite's machine in the Windows build: the real Windows
// API, with a scratch folder below C:\kavtest and a scratch registry key,
// both removed afterwards.
#include "support/machine_under_test.h"
#include "support/scratch_directory.h"

namespace kav::platform::testing {

namespace {

class Win32MachineUnderTest final : public MachineUnderTest {
public:
    Win32MachineUnderTest() : machine_(MakeWin32Machine()), unique_(testing::UniqueName()) {}

    Machine& Get() override { return *machine_; }
    const std::string& Scratch() const override { return scratch_.Path(); }
    const std::string& RegistryKey() const override { return registryKey_.Name(); }
    const std::string& UniqueName() const override { return unique_; }

private:
    std::unique_ptr<Machine> machine_;
    std::string unique_;
    ScratchDirectory scratch_;
    ScratchRegistryKey registryKey_;
};

}  // namespace

std::unique_ptr<MachineUnderTest> MakeMachineUnderTest() {
    return std::make_unique<Win32MachineUnderTest>();
}

}  // namespace kav::platform::testing
