// Listing and expanding an arbitrary compressed archive must end, stay
// inside its buffers and report problems only through exceptions.
#include <cstddef>
#include <cstdint>
#include <exception>
#include <vector>

#include "archive/compress.h"
#include "output_limit.h"
#include "platform/stream.h"
#include "support/memory_file_system.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kav::archive;
    std::vector<std::uint8_t> bytes(data, data + size);
    testing::MemoryFileSystem files;
    files.writeLimit = kav::fuzz::kOutputPerInputByte * size;
    files.AddDirectory("C:\\out");
    files.AddFile("C:\\in\\a.arc", bytes);
    TCompress compress(files);
    compress.SetTargetPath("C:\\out");
    compress.MakeDirectories = true;
    compress.Key = size % 3 == 0 ? 0 : 0x5A3C1F07;
    try {
        kav::platform::MemoryStream stream(bytes);
        TCompressedFileList list;
        compress.ScanArchive(stream, list);
    } catch (const std::exception&) {
    }
    try {
        compress.ExpandArchive("C:\\in\\a.arc", nullptr);
    } catch (const std::exception&) {
    }
    return 0;
}
