#pragma once
// A machine whose dialogs go through another Gui (the answering one) and
// whose components note their events in a log; everything else is the
// machine it wraps.
#include "platform/machine.h"

namespace kav::app {

class LoggedMachine final : public platform::Machine {
public:
    LoggedMachine(platform::Machine& machine, platform::Gui& gui, platform::EventLog& log)
        : machine_(machine), gui_(gui), log_(log) {}

    platform::ProfileFiles& Profiles() override { return machine_.Profiles(); }
    platform::Registry& RegistryKeys() override { return machine_.RegistryKeys(); }
    platform::FileSystem& Files() override { return machine_.Files(); }
    platform::SystemDirectories& SystemDirs() override { return machine_.SystemDirs(); }
    platform::Shell& ShellOps() override { return machine_.ShellOps(); }
    platform::Restart& Restarter() override { return machine_.Restarter(); }
    platform::Processor& Cpu() override { return machine_.Cpu(); }
    platform::Gui& Ui() override { return gui_; }
    platform::EventLog& Log() override { return log_; }

private:
    platform::Machine& machine_;
    platform::Gui& gui_;
    platform::EventLog& log_;
};

}  // namespace kav::app
