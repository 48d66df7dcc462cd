#include <gtest/gtest.h>

#include "platform/errors.h"
#include "platform/stream.h"

namespace kav::platform {
namespace {

TEST(MemoryStream, ReadsWhatWasWrittenAndStopsAtTheEnd) {
    MemoryStream s;
    const char text[] = "abcdef";
    s.WriteExactly(text, 6);
    EXPECT_EQ(s.Size(), 6);
    s.Seek(4);
    char buf[8] = {};
    EXPECT_EQ(s.Read(buf, 8), 2u);
    EXPECT_EQ(std::string(buf, 2), "ef");
    EXPECT_EQ(s.Read(buf, 8), 0u);
    s.Seek(100);
    EXPECT_EQ(s.Read(buf, 8), 0u);
    EXPECT_THROW(s.Seek(-1), EInOutError);
}

TEST(MemoryStream, WritingInsideOverwritesAndPastTheEndGrows) {
    MemoryStream s({'1', '2', '3'});
    s.Seek(2);
    s.WriteExactly("xy", 2);
    EXPECT_EQ(std::string(s.Bytes().begin(), s.Bytes().end()), "12xy");
}

}  // namespace
}  // namespace kav::platform
