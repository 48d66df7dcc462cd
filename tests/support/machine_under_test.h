#pragma once
// The machine the platform conformance suite runs against: the simulated
// machine natively, the real Windows API in the Windows build. Each factory
// file (machine_under_test_sim.cc, machine_under_test_win32.cc) defines
// MakeMachineUnderTest for its build.
#include <memory>
#include <string>

#include "platform/machine.h"
#include "support/recording_gui.h"

namespace kav::platform::testing {

class MachineUnderTest {
public:
    virtual ~MachineUnderTest() = default;

    virtual Machine& Get() = 0;
    // An existing, empty directory for this test only, fully qualified and
    // without a trailing "\" (such as C:\kavtest\<unique>). It and all it
    // holds are removed when the object ends.
    virtual const std::string& Scratch() const = 0;
    // A key name for this test only, "Software\KavTest\<unique>", to be used
    // below HKEY_CURRENT_USER or HKEY_LOCAL_MACHINE; removed from both when
    // the object ends.
    virtual const std::string& RegistryKey() const = 0;
    // A name no other test of this run uses, usable as a file name.
    virtual const std::string& UniqueName() const = 0;

    // Answers the simulated machine's dialogs; the real machine has its own.
    RecordingGui gui;
};

std::unique_ptr<MachineUnderTest> MakeMachineUnderTest();

}  // namespace kav::platform::testing
