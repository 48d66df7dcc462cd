#include "support/test_machine.h"

#include "platform/errors.h"
#include "setup/file_operations.h"

namespace kav::setup::testing {

namespace {

std::string UniqueName() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(info->test_suite_name()) + "_" + info->name();
    for (char& c : name) {
        if (c == '/') c = '_';
    }
    return name;
}

// Read-only files left by a test (or by an earlier, interrupted run) would
// stop the removal on Windows.
void RemoveTree(const std::filesystem::path& dir) {
    std::error_code ignored;
    if (std::filesystem::exists(dir, ignored)) {
        for (const auto& entry : std::filesystem::recursive_directory_iterator(dir, ignored)) {
            std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_write,
                                         std::filesystem::perm_options::add, ignored);
        }
    }
    std::filesystem::remove_all(dir, ignored);
}

}  // namespace

#ifdef _WIN32
bool MachineTest::Simulated() const { return false; }

void MachineTest::SetUp() {
    hostDir_ = std::filesystem::temp_directory_path() / ("kav_setup_" + UniqueName());
    RemoveTree(hostDir_);
    std::filesystem::create_directories(hostDir_);
    machine_ = std::make_unique<TestMachine>(platform::MakeWin32Machine(), ui_);
    dir_ = hostDir_.string();
    for (char& c : dir_) c = c == '/' ? '\\' : c;
    savedCurrentDirectory_ = Files().CurrentDirectory();
}
#else
bool MachineTest::Simulated() const { return true; }

void MachineTest::SetUp() {
    hostDir_ = std::filesystem::temp_directory_path() / ("kav_setup_" + UniqueName());
    RemoveTree(hostDir_);
    machine_ = std::make_unique<TestMachine>(platform::MakeSimMachine(hostDir_.string(), ui_), ui_);
    dir_ = "C:\\work";
    ASSERT_TRUE(ForceDirectories(Files(), dir_));
    savedCurrentDirectory_ = Files().CurrentDirectory();
}
#endif

void MachineTest::TearDown() {
    Files().ChangeDirectory(savedCurrentDirectory_);
    machine_.reset();
    RemoveTree(hostDir_);
}

void MachineTest::WriteFile(const std::string& path, const std::string& content) {
    const std::size_t at = path.find_last_of('\\');
    ASSERT_TRUE(ForceDirectories(Files(), path.substr(0, at)));
    auto out = Files().Create(path);
    out->WriteExactly(content.data(), content.size());
}

std::string MachineTest::ReadFile(const std::string& path) {
    auto in = Files().OpenRead(path);
    std::string content;
    char buffer[4096];
    std::size_t n = 0;
    while ((n = in->Read(buffer, sizeof buffer)) > 0) content.append(buffer, n);
    return content;
}

}  // namespace kav::setup::testing
