#pragma once
// The simulated session end: privilege changes and session-end requests are
// written to the journal. As on Windows, shutting down, restarting or
// powering off is refused unless the shutdown privilege is enabled; logging
// off needs no privilege.
#include <set>
#include <string>

#include "platform/restart.h"
#include "platform/sim/journal.h"

namespace kav::platform::sim {

class SimRestart final : public Restart {
public:
    explicit SimRestart(const Journal& journal) : journal_(journal) {}

    // True for privilege names Windows knows (such as "SeShutdownPrivilege").
    bool AdjustPrivilege(const std::string& name, bool enable) override;
    bool ExitSession(unsigned flags) override;
    // Journalled as "RemoveAtRestart", the Windows path; always arranged.
    bool RemoveAtRestart(const std::string& path) override;

    // Makes every later session-end request fail, as when another program
    // vetoes it.
    void RefuseExitSession(bool refuse) { refuseExitSession_ = refuse; }

private:
    const Journal& journal_;
    std::set<std::string> enabled_;
    bool refuseExitSession_ = false;
};

}  // namespace kav::platform::sim
