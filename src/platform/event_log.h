#pragma once
// Where the program's components note what a run does, one event per call,
// for the install log. Nobody listens unless a front end asks for a log: the
// machine's default log drops every event, so components note freely.
#include <string>

namespace kav::platform {

class EventLog {
public:
    virtual ~EventLog() = default;
    // One event in a few words, without a line break.
    virtual void Note(const std::string& event) = 0;
};

// The log that is off.
class NoEventLog final : public EventLog {
public:
    void Note(const std::string&) override {}
};

}  // namespace kav::platform
