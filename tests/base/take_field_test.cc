#include "base/take_field.h"

#include <gtest/gtest.h>

#include "base/path_parts.h"

namespace kav::base {
namespace {

TEST(TakeField, SplitsAtTheFirstDelimiterAndRepeatsTheLastField) {
    std::string source = "name~<WINDOWS>\\prog.exe~X~";
    std::string field;
    base::TakeField(source, "~", field);
    EXPECT_EQ(field, "name");
    base::TakeField(source, "~", field);
    EXPECT_EQ(field, "<WINDOWS>\\prog.exe");
    base::TakeField(source, "~", field);
    EXPECT_EQ(field, "X");
    base::TakeField(source, "~", field);
    EXPECT_EQ(field, "");
    EXPECT_EQ(source, "");
    // No delimiter left: the whole rest, again and again.
    source = "last";
    base::TakeField(source, "~", field);
    base::TakeField(source, "~", field);
    EXPECT_EQ(field, "last");
    EXPECT_EQ(source, "last");
}

TEST(TakeField, MultiCharacterDelimiterAndEmptyLeadingField) {
    std::string source = "::a::b";
    std::string field = "old";
    base::TakeField(source, "::", field);
    EXPECT_EQ(field, "");
    EXPECT_EQ(source, "a::b");
}

TEST(Paths, DriveRootsAreRecognised) {
    for (const char* root :
         {"A:", "A:\\", "c:\\\\", "\\", "\\\\server\\share", "\\\\server\\share\\"}) {
        EXPECT_TRUE(base::IsDriveRoot(root)) << root;
    }
    for (const char* dir :
         {"A:\\set", "C:\\WINDOWS\\Temp\\q", "\\\\server\\share\\dir", "set", ""}) {
        EXPECT_FALSE(base::IsDriveRoot(dir)) << dir;
    }
    EXPECT_EQ(base::FileNamePart("C:\\a\\b.txt"), "b.txt");
    EXPECT_EQ(base::FileNamePart("A:b.txt"), "b.txt");
    EXPECT_EQ(base::FileNamePart("b.txt"), "b.txt");
    EXPECT_EQ(base::FileNamePart("C:\\dir\\"), "");
}

}  // namespace
}  // namespace kav::base
