// Links the simulated shell writes, read back by lnkinfo (liblnk-utils), a
// parser of the shell link format that shares nothing with the writer.
#include <stdio.h>

#include "sim_fixture.h"

namespace kav::platform::testing {
namespace {

class SimShellLink : public SimFixture {
protected:
    // lnkinfo's report on the link at the Windows path `linkPath`.
    std::string LnkInfo(const std::string& linkPath) {
        const auto host = M().SimFiles().HostPathOf(linkPath);
        if (!host) return "no host path";
        std::string report;
        FILE* pipe = ::popen(("lnkinfo '" + *host + "' 2>&1").c_str(), "r");
        if (pipe == nullptr) return "lnkinfo not started";
        char buffer[512];
        for (std::size_t got; (got = ::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
            report.append(buffer, got);
        }
        ::pclose(pipe);
        return report;
    }
    // The value lnkinfo gives for `label` ("label<tabs>: value"), or
    // "<label missing>".
    static std::string Field(const std::string& report, const std::string& label) {
        const std::size_t at = report.find("\t" + label + "\t");
        if (at == std::string::npos) return "<" + label + " missing>";
        const std::size_t value = report.find(": ", at) + 2;
        return report.substr(value, report.find('\n', value) - value);
    }
};

TEST_F(SimShellLink, EveryPartOfTheLinkReadsBack) {
    ASSERT_TRUE(M().Files().MakeDirectory("C:\\Links"));
    ShellLink link;
    link.target = "C:\\Program Files\\Tool Kit\\run.exe";
    link.workingDirectory = "C:\\Program Files\\Tool Kit\\";
    link.arguments = "/quiet x.txt";
    link.description = "Runs the tool";
    link.iconFile = "C:\\Program Files\\Tool Kit\\ico\\run.ico";
    link.iconIndex = 3;
    ASSERT_TRUE(M().ShellOps().CreateLink("C:\\Links\\Run.lnk", link));
    const std::string report = LnkInfo("C:\\Links\\Run.lnk");
    EXPECT_EQ(Field(report, "Local path"), link.target) << report;
    EXPECT_EQ(Field(report, "Drive type"), "Fixed (3)");
    EXPECT_EQ(Field(report, "Working directory"), link.workingDirectory);
    EXPECT_EQ(Field(report, "Command line arguments"), link.arguments);
    EXPECT_EQ(Field(report, "Description"), link.description);
    EXPECT_EQ(Field(report, "Icon location"), link.iconFile);
    EXPECT_EQ(Field(report, "Icon index"), "3");
}

TEST_F(SimShellLink, EmptyPartsAreLeftOutAndALinkIsReplacedWhole) {
    ASSERT_TRUE(M().Files().MakeDirectory("C:\\Links"));
    ShellLink link;
    link.target = "C:\\A\\long name with spaces and more\\program.exe";
    link.workingDirectory = "C:\\A\\";
    link.iconFile = "C:\\A\\a.ico";
    ASSERT_TRUE(M().ShellOps().CreateLink("C:\\Links\\A.lnk", link));
    link.target = "C:\\B.exe";
    link.workingDirectory.clear();
    ASSERT_TRUE(M().ShellOps().CreateLink("C:\\Links\\A.lnk", link));
    const std::string report = LnkInfo("C:\\Links\\A.lnk");
    EXPECT_EQ(Field(report, "Local path"), "C:\\B.exe") << report;
    EXPECT_EQ(Field(report, "Icon location"), "C:\\A\\a.ico");
    EXPECT_EQ(report.find("Working directory"), std::string::npos);
    EXPECT_EQ(report.find("Command line arguments"), std::string::npos);
    EXPECT_EQ(report.find("Description"), std::string::npos);
}

}  // namespace
}  // namespace kav::platform::testing
