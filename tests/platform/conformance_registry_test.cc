// Registry keys and string values, on either machine.
#include "conformance_fixture.h"

namespace kav::platform::testing {
namespace {

using RegistryConformance = PlatformConformance;

TEST_F(RegistryConformance, ValuesReadBackWithoutRegardToCase) {
    const std::string key = Key() + "\\Vendor\\Product";
    ASSERT_TRUE(Reg().SetStringValue(RootKey::CurrentUser, key, "Dir", "C:\\Apps\\Tool"));
    EXPECT_EQ(Reg().ReadStringValue(RootKey::CurrentUser, Upper(key), "DIR"), "C:\\Apps\\Tool");
    ASSERT_TRUE(Reg().SetStringValue(RootKey::CurrentUser, key, "dir", "replaced"));
    EXPECT_EQ(Reg().ReadStringValue(RootKey::CurrentUser, key, "Dir"), "replaced");
    ASSERT_TRUE(Reg().SetStringValue(RootKey::CurrentUser, key, "", "default"));
    EXPECT_EQ(Reg().ReadStringValue(RootKey::CurrentUser, key, ""), "default");
    ASSERT_TRUE(Reg().SetStringValue(RootKey::CurrentUser, key, "Empty", ""));
    EXPECT_EQ(Reg().ReadStringValue(RootKey::CurrentUser, key, "Empty"), "");
    EXPECT_FALSE(Reg().ReadStringValue(RootKey::CurrentUser, key, "Missing").has_value());
    EXPECT_FALSE(Reg().ReadStringValue(RootKey::CurrentUser, key + "\\None", "Dir").has_value());
}

TEST_F(RegistryConformance, DwordValuesAreNumbersOfTheirOwnType) {
    const std::string key = Key() + "\\Uninstall\\Tool";
    ASSERT_TRUE(Reg().SetDwordValue(RootKey::CurrentUser, key, "NoModify", 1));
    ASSERT_TRUE(Reg().SetDwordValue(RootKey::CurrentUser, key, "EstimatedSize", 0xFFFFFFFFu));
    EXPECT_EQ(Reg().ReadDwordValue(RootKey::CurrentUser, Upper(key), "nomodify"), 1u);
    EXPECT_EQ(Reg().ReadDwordValue(RootKey::CurrentUser, key, "EstimatedSize"), 0xFFFFFFFFu);
    // Neither type reads as the other.
    EXPECT_FALSE(Reg().ReadStringValue(RootKey::CurrentUser, key, "NoModify").has_value());
    ASSERT_TRUE(Reg().SetStringValue(RootKey::CurrentUser, key, "Text", "1"));
    EXPECT_FALSE(Reg().ReadDwordValue(RootKey::CurrentUser, key, "Text").has_value());
    EXPECT_FALSE(Reg().ReadDwordValue(RootKey::CurrentUser, key, "Missing").has_value());
    // A value set again takes the new type.
    ASSERT_TRUE(Reg().SetDwordValue(RootKey::CurrentUser, key, "Text", 7));
    EXPECT_EQ(Reg().ReadDwordValue(RootKey::CurrentUser, key, "Text"), 7u);
    EXPECT_FALSE(Reg().ReadStringValue(RootKey::CurrentUser, key, "Text").has_value());
    ASSERT_TRUE(Reg().DeleteValue(RootKey::CurrentUser, key, "NoModify"));
    EXPECT_FALSE(Reg().ReadDwordValue(RootKey::CurrentUser, key, "NoModify").has_value());
}

TEST_F(RegistryConformance, CreateKeyMakesParentsAndALeadingBackslashIsIgnored) {
    ASSERT_TRUE(Reg().CreateKey(RootKey::CurrentUser, "\\" + Key() + "\\a\\b"));
    ASSERT_TRUE(Reg().CreateKey(RootKey::CurrentUser, Key() + "\\a\\b"));  // exists: opened
    ASSERT_TRUE(Reg().SetStringValue(RootKey::CurrentUser, "\\" + Key() + "\\A", "v", "1"));
    EXPECT_EQ(Reg().ReadStringValue(RootKey::CurrentUser, Key() + "\\a", "v"), "1");
    EXPECT_EQ(Reg().ReadStringValue(RootKey::CurrentUser, "\\" + Key() + "\\a", "v"), "1");
    ASSERT_TRUE(Reg().SetStringValue(RootKey::CurrentUser, Key() + "\\a\\b\\", "w", "2"));
    EXPECT_EQ(Reg().ReadStringValue(RootKey::CurrentUser, Key() + "\\A\\B", "w"), "2");
}

TEST_F(RegistryConformance, TheTwoRootsAreSeparate) {
    const std::string key = Key() + "\\Uninstall\\Tool 1.0";
    ASSERT_TRUE(Reg().SetStringValue(RootKey::LocalMachine, key, "DisplayName", "Tool 1.0"));
    ASSERT_TRUE(Reg().SetStringValue(RootKey::LocalMachine, key, "UninstallString",
                                     "C:\\Apps\\Tool\\uninstaller.exe Tool 1.0"));
    EXPECT_EQ(Reg().ReadStringValue(RootKey::LocalMachine, key, "UninstallString"),
              "C:\\Apps\\Tool\\uninstaller.exe Tool 1.0");
    EXPECT_FALSE(Reg().ReadStringValue(RootKey::CurrentUser, key, "DisplayName").has_value());
}

TEST_F(RegistryConformance, KeysAndValuesAreRemoved) {
    const RootKey user = RootKey::CurrentUser;
    const std::string key = Key() + "\\Vendor\\Product";
    ASSERT_TRUE(Reg().SetStringValue(user, key + "\\Settings", "Dir", "x"));
    ASSERT_TRUE(Reg().SetStringValue(user, key, "Keep", "y"));
    EXPECT_TRUE(Reg().KeyExists(user, Upper(key) + "\\settings"));
    EXPECT_FALSE(Reg().KeyExists(user, key + "\\None"));

    EXPECT_TRUE(Reg().DeleteValue(user, key, "keep"));
    EXPECT_FALSE(Reg().ReadStringValue(user, key, "Keep").has_value());
    EXPECT_TRUE(Reg().DeleteValue(user, key, "Keep"));  // missing: no failure
    // Only an empty key goes with DeleteEmptyKey.
    EXPECT_FALSE(Reg().DeleteEmptyKey(user, key));
    EXPECT_TRUE(Reg().KeyExists(user, key + "\\Settings"));

    ASSERT_TRUE(Reg().CreateKey(user, key + "\\Settings\\Deeper\\Still"));
    ASSERT_TRUE(Reg().DeleteKeyTree(user, "\\" + key + "\\"));
    EXPECT_FALSE(Reg().KeyExists(user, key));
    EXPECT_TRUE(Reg().KeyExists(user, Key() + "\\Vendor"));
    EXPECT_TRUE(Reg().DeleteKeyTree(user, key));  // missing: no failure
    EXPECT_TRUE(Reg().DeleteEmptyKey(user, Key() + "\\Vendor"));
    EXPECT_FALSE(Reg().KeyExists(user, Key() + "\\Vendor"));
    EXPECT_FALSE(Reg().DeleteKeyTree(user, "\\"));  // a root itself: refused
}

}  // namespace
}  // namespace kav::platform::testing
