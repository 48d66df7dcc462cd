// The simulated profile functions keep each file parsed. Whoever changes the
// file, through this machine or on the host, the next read sees the change.
#include <chrono>
#include <thread>

#include "platform/sim/host_file_stamp.h"
#include "sim_fixture.h"

namespace kav::platform::testing {
namespace {

class SimProfileCache : public SimFixture {
protected:
    std::string ReadK() { return M().Profiles().ReadString("app.ini", "S", "k", "none"); }
    std::filesystem::path HostIni() const { return Root() / "drive_c/WINDOWS/app.ini"; }
};

// Rewrites of the same size follow each other within one clock tick here,
// so the file's size, times and inode may all stay as they were.
TEST_F(SimProfileCache, RewritesOfTheSameSizeAreSeenAtOnce) {
    WriteFile("C:\\WINDOWS\\app.ini", "[S]\r\nk=one\r\n");
    EXPECT_EQ(ReadK(), "one");
    WriteFile("C:\\WINDOWS\\app.ini", "[S]\r\nk=two\r\n");
    EXPECT_EQ(ReadK(), "two");
    HostWrite(HostIni(), "[S]\r\nk=six\r\n");
    EXPECT_EQ(ReadK(), "six");
    ASSERT_TRUE(M().Profiles().WriteString("app.ini", "S", "k", "ten"));
    HostWrite(HostIni(), "[S]\r\nk=owt\r\n");
    EXPECT_EQ(ReadK(), "owt");
    ASSERT_TRUE(M().Files().RemoveFile("C:\\WINDOWS\\app.ini"));
    EXPECT_EQ(ReadK(), "none");
}

TEST_F(SimProfileCache, AChangeFromOutsideIsSeenOnceTheFileHasSettled) {
    HostWrite(HostIni(), "[S]\r\nk=one\r\n");
    std::this_thread::sleep_for(sim::kStampSettleTime + std::chrono::milliseconds(50));
    EXPECT_EQ(ReadK(), "one");  // from now on the stamp alone tells a change
    HostWrite(HostIni(), "[S]\r\nk=two\r\n");
    EXPECT_EQ(ReadK(), "two");
}

}  // namespace
}  // namespace kav::platform::testing
