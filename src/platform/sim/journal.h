#pragma once
// The journal of the simulated machine: what would have happened outside the
// installer (programs started, privileges adjusted, the session ended) is
// appended to "journal.txt" in the root instead.
//
// Format: one line per event; its fields are separated by tab characters:
// the event's name, then its arguments, then its result.
//   Execute          file  parameters  directory  show-command  result
//   WaitForProcessEnd  process-id  timeout-ms  true
//   AdjustPrivilege  privilege-name  enable|disable  true|false
//   ExitSession      flags (decimal)  true|false
//   RemoveAtRestart  path  true
// Tabs and line ends inside a field are written as blanks.
#include <string>
#include <vector>

namespace kav::platform::sim {

class Journal {
public:
    explicit Journal(std::string file) : file_(std::move(file)) {}
    void Append(const std::vector<std::string>& fields) const;

private:
    std::string file_;
};

// The journal of the machine kept in `root`, one entry of fields per line;
// empty when there is none.
std::vector<std::vector<std::string>> ReadJournal(const std::string& root);

}  // namespace kav::platform::sim
