// Expanding arbitrary segment files. The input is a sequence of segment
// files, each preceded by its length (16 bits, little-endian), named
// disk.001, disk.002, ... in one directory.
#include <cstddef>
#include <cstdint>
#include <exception>
#include <string>
#include <vector>

#include "archive/set_reader.h"
#include "output_limit.h"
#include "support/memory_file_system.h"

namespace {

class DecliningGui final : public kav::platform::Gui {
public:
    void ShowMessage(const std::string&) override {}
    bool AskYesNo(const std::string&) override { return false; }
    kav::platform::WarningAnswer AskWarning(const std::string&) override {
        return kav::platform::WarningAnswer::No;
    }
    bool AskOkCancel(const std::string&) override { return false; }
    bool InputQuery(const std::string&, const std::string&, std::string&) override { return false; }
    void SetCursor(kav::platform::Cursor) override {}
    void ProcessMessages() override {}
    void Terminate() override {}
    bool Terminated() const override { return false; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kav::archive;
    testing::MemoryFileSystem files;
    files.writeLimit = kav::fuzz::kOutputPerInputByte * size;
    files.AddDirectory("C:\\src");
    std::size_t at = 0;
    for (std::uint16_t number = 1; at + 2 <= size && number < 100; ++number) {
        const std::size_t length = data[at] | (data[at + 1] << 8);
        at += 2;
        const std::size_t take = length < size - at ? length : size - at;
        files.AddFile("C:\\src\\" + SegmentFileName("disk", "", number),
                      std::vector<std::uint8_t>(data + at, data + at + take));
        at += take;
    }
    DecliningGui gui;
    TSegCompEZ reader(files, gui);
    reader.SetSegBaseName("disk");
    reader.SetSegDir("C:\\src");
    reader.SetSegTmpDir("C:\\tmp");
    reader.SegPopUp = false;
    try {
        reader.ExpandAll();
    } catch (const std::exception&) {
    }
    return 0;
}
