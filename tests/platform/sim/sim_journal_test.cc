// What the simulation writes to its journal instead of doing it.
#include "platform/sim/journal.h"
#include "sim_fixture.h"

namespace kav::platform::testing {
namespace {

using SimJournal = SimFixture;
using Entries = std::vector<std::vector<std::string>>;

TEST_F(SimJournal, LaunchesAreJournalledWithTheShellsAnswer) {
    ASSERT_TRUE(M().Files().MakeDirectory("C:\\Apps"));
    WriteFile("C:\\Apps\\run.exe", "MZ");
    EXPECT_EQ(M().ShellOps().Execute("run.exe", "", "C:\\Apps\\", 5), 42);
    EXPECT_EQ(M().ShellOps().Execute("C:\\Apps\\RUN.EXE", "-x\ty", "", 1), 42);
    EXPECT_EQ(M().ShellOps().Execute("run.exe", "", "", 5), 2);  // not in the current directory
    const std::string longName = "C:\\" + std::string(300, 'n') + ".exe";
    EXPECT_EQ(M().ShellOps().Execute(longName, "", "", 5), 2);
    EXPECT_EQ(sim::ReadJournal(Root().string()),
              (Entries{{"Execute", "run.exe", "", "C:\\Apps\\", "5", "42"},
                       {"Execute", "C:\\Apps\\RUN.EXE", "-x y", "", "1", "42"},
                       {"Execute", "run.exe", "", "", "5", "2"},
                       {"Execute", longName, "", "", "5", "2"}}));
}

TEST_F(SimJournal, RestartNeedsTheShutdownPrivilege) {
    EXPECT_FALSE(M().Restarter().ExitSession(2));
    EXPECT_TRUE(M().Restarter().ExitSession(0));  // logging off needs none
    EXPECT_TRUE(M().Restarter().AdjustPrivilege("SeShutdownPrivilege", true));
    EXPECT_TRUE(M().Restarter().ExitSession(2));
    EXPECT_TRUE(M().Restarter().AdjustPrivilege("SeShutdownPrivilege", false));
    EXPECT_FALSE(M().Restarter().ExitSession(1 | 4));
    EXPECT_FALSE(M().Restarter().AdjustPrivilege("SeMadeUpPrivilege", true));
    EXPECT_EQ(sim::ReadJournal(Root().string()),
              (Entries{{"ExitSession", "2", "false"},
                       {"ExitSession", "0", "true"},
                       {"AdjustPrivilege", "SeShutdownPrivilege", "enable", "true"},
                       {"ExitSession", "2", "true"},
                       {"AdjustPrivilege", "SeShutdownPrivilege", "disable", "true"},
                       {"ExitSession", "5", "false"},
                       {"AdjustPrivilege", "SeMadeUpPrivilege", "enable", "false"}}));
}

TEST_F(SimJournal, ARefusedSessionEndFailsEvenWithThePrivilege) {
    M().SimRestarter().RefuseExitSession(true);
    ASSERT_TRUE(M().Restarter().AdjustPrivilege("SeShutdownPrivilege", true));
    EXPECT_FALSE(M().Restarter().ExitSession(2));
    EXPECT_EQ(sim::ReadJournal(Root().string()).back(),
              (std::vector<std::string>{"ExitSession", "2", "false"}));
}

}  // namespace
}  // namespace kav::platform::testing
