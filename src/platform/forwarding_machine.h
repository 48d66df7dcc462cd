#pragma once
// A machine that hands every group of operations to another one. Wrappers
// derive from it and override only the groups they change, so that a group
// added to Machine later reaches them without a line of their own.
#include "platform/machine.h"

namespace kav::platform {

class ForwardingMachine : public Machine {
public:
    explicit ForwardingMachine(Machine& inner) : inner_(inner) {}

    ProfileFiles& Profiles() override { return inner_.Profiles(); }
    Registry& RegistryKeys() override { return inner_.RegistryKeys(); }
    FileSystem& Files() override { return inner_.Files(); }
    SystemDirectories& SystemDirs() override { return inner_.SystemDirs(); }
    Shell& ShellOps() override { return inner_.ShellOps(); }
    Restart& Restarter() override { return inner_.Restarter(); }
    Processor& Cpu() override { return inner_.Cpu(); }
    Gui& Ui() override { return inner_.Ui(); }
    EventLog& Log() override { return inner_.Log(); }

protected:
    Machine& Inner() { return inner_; }

private:
    Machine& inner_;
};

}  // namespace kav::platform
