#pragma once
// A machine whose dialogs go through another Gui (the answering one) and
// whose components note their events in a log; everything else is the
// machine it wraps.
#include "platform/forwarding_machine.h"

namespace kav::app {

class LoggedMachine final : public platform::ForwardingMachine {
public:
    LoggedMachine(platform::Machine& machine, platform::Gui& gui, platform::EventLog& log)
        : ForwardingMachine(machine), gui_(gui), log_(log) {}

    platform::Gui& Ui() override { return gui_; }
    platform::EventLog& Log() override { return log_; }

private:
    platform::Gui& gui_;
    platform::EventLog& log_;
};

}  // namespace kav::app
