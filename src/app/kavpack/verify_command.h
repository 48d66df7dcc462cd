#pragma once
// kavpack verify: reads a set back with the installer's readers, as kavset
// test does, and optionally compares every entry with the source folder.
#include <cstdint>
#include <filesystem>
#include <iosfwd>

namespace kav::app {

struct VerifyOptions {
    std::filesystem::path set;
    std::filesystem::path against;  // empty: decode and check sums only
    std::int32_t key = 0;
    bool progress = false;
};

int RunVerify(const VerifyOptions& options, std::ostream& out, std::ostream& err);

}  // namespace kav::app
