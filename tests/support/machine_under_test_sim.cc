// The conformance suite's machine natively: a simulated machine in a fresh
// host folder per test, removed afterwards.
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <stdexcept>

#include "platform/sim/sim_machine.h"
#include "support/machine_under_test.h"

namespace kav::platform::testing {

namespace {

class SimMachineUnderTest final : public MachineUnderTest {
public:
    SimMachineUnderTest() {
        std::string pattern = (std::filesystem::temp_directory_path() / "kavsim.XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
        root_ = pattern;
        machine_ = std::make_unique<sim::SimMachine>(root_, gui);
        static int count = 0;
        unique_ = std::to_string(::getpid()) + "_" + std::to_string(++count);
        scratch_ = "C:\\kavtest\\" + unique_;
        registryKey_ = "Software\\KavTest\\" + unique_;
        machine_->Files().MakeDirectory("C:\\kavtest");
        if (!machine_->Files().MakeDirectory(scratch_)) {
            throw std::runtime_error("cannot make " + scratch_);
        }
    }
    ~SimMachineUnderTest() override {
        machine_.reset();
        std::error_code ignored;
        // Read-only files do not stop the removal on Linux, their folders
        // stay writable.
        std::filesystem::remove_all(root_, ignored);
    }

    Machine& Get() override { return *machine_; }
    const std::string& Scratch() const override { return scratch_; }
    const std::string& RegistryKey() const override { return registryKey_; }
    const std::string& UniqueName() const override { return unique_; }

private:
    std::string root_;
    std::unique_ptr<sim::SimMachine> machine_;
    std::string unique_;
    std::string scratch_;
    std::string registryKey_;
};

}  // namespace

std::unique_ptr<MachineUnderTest> MakeMachineUnderTest() {
    return std::make_unique<SimMachineUnderTest>();
}

}  // namespace kav::platform::testing
