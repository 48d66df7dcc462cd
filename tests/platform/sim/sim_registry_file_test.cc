// The simulated registry's REGEDIT4 file.
#include "platform/sim/registry_tree.h"
#include "sim_fixture.h"

namespace kav::platform::testing {
namespace {

using SimRegistryFile = SimFixture;

TEST_F(SimRegistryFile, EveryChangeIsWrittenAsRegedit4) {
    auto& reg = M().RegistryKeys();
    ASSERT_TRUE(reg.SetStringValue(RootKey::LocalMachine, "\\Software\\Vendor\\Product", "Dir",
                                   "C:\\Apps\\Tool"));
    ASSERT_TRUE(reg.SetStringValue(RootKey::CurrentUser, "Software\\Vendor", "", "say \"hi\""));
    EXPECT_EQ(HostRead(Root() / "registry.reg"),
              "REGEDIT4\r\n\r\n"
              "[HKEY_LOCAL_MACHINE\\Software]\r\n\r\n"
              "[HKEY_LOCAL_MACHINE\\Software\\Vendor]\r\n\r\n"
              "[HKEY_LOCAL_MACHINE\\Software\\Vendor\\Product]\r\n"
              "\"Dir\"=\"C:\\\\Apps\\\\Tool\"\r\n\r\n"
              "[HKEY_CURRENT_USER\\Software]\r\n\r\n"
              "[HKEY_CURRENT_USER\\Software\\Vendor]\r\n"
              "@=\"say \\\"hi\\\"\"\r\n\r\n");
}

TEST_F(SimRegistryFile, ALaterMachineReadsTheSameRegistry) {
    auto& reg = M().RegistryKeys();
    ASSERT_TRUE(reg.CreateKey(RootKey::CurrentUser, "Software\\Empty Key"));
    ASSERT_TRUE(reg.SetStringValue(RootKey::LocalMachine, "Software\\MiXed", "Multi", "a\r\nb\\"));
    ASSERT_TRUE(reg.SetStringValue(RootKey::CurrentUser, "", "AtRoot", "r"));
    ASSERT_TRUE(reg.SetDwordValue(RootKey::LocalMachine, "Software\\MiXed", "Size", 0x1234abcd));
    Restart();
    EXPECT_NE(HostRead(Root() / "registry.reg").find("\"Size\"=dword:1234abcd\r\n"),
              std::string::npos);
    EXPECT_EQ(M().RegistryKeys().ReadDwordValue(RootKey::LocalMachine, "Software\\MiXed", "size"),
              0x1234abcdu);
    auto& again = M().RegistryKeys();
    EXPECT_EQ(again.ReadStringValue(RootKey::LocalMachine, "software\\mixed", "multi"), "a\r\nb\\");
    EXPECT_EQ(again.ReadStringValue(RootKey::CurrentUser, "", "AtRoot"), "r");
    // The key keeps the spelling it was created with.
    ASSERT_TRUE(again.SetStringValue(RootKey::LocalMachine, "SOFTWARE\\MIXED", "x", "y"));
    EXPECT_NE(HostRead(Root() / "registry.reg").find("[HKEY_LOCAL_MACHINE\\Software\\MiXed]"),
              std::string::npos);
    EXPECT_NE(HostRead(Root() / "registry.reg").find("[HKEY_CURRENT_USER\\Software\\Empty Key]"),
              std::string::npos);
}

TEST_F(SimRegistryFile, DamagedLinesAreSkippedAndTooLongNamesRefused) {
    HostWrite(Root() / "registry.reg",
              "REGEDIT4\r\n\r\n[HKEY_CLASSES_ROOT\\x]\r\n\"lost\"=\"1\"\r\n"
              "[HKEY_CURRENT_USER\\Good]\r\n\"unterminated=\"1\"\r\n\"ok\"=\"2\"\r\nnoise\r\n");
    Restart();
    EXPECT_EQ(M().RegistryKeys().ReadStringValue(RootKey::CurrentUser, "Good", "ok"), "2");
    EXPECT_FALSE(M().RegistryKeys().ReadStringValue(RootKey::CurrentUser, "x", "lost"));
    const std::string tooLong(256, 'k');
    EXPECT_FALSE(M().RegistryKeys().CreateKey(RootKey::CurrentUser, "Software\\" + tooLong));
    EXPECT_FALSE(M().RegistryKeys().SetStringValue(RootKey::CurrentUser, tooLong, "v", "1"));
}

}  // namespace
}  // namespace kav::platform::testing
