#pragma once
// kavpack init: a first installation script for a product folder as it is,
// one that kavpack build packs without a warning and the installer places
// file by file.
#include <filesystem>
#include <iosfwd>
#include <string>

namespace kav::app {

struct InitOptions {
    std::filesystem::path source;
    std::string title;  // UTF-8; empty: the folder's own name
    std::string publisher;
    std::string version;
    bool force = false;  // replace an existing install.cfg
};

int RunInit(const InitOptions& options, std::ostream& out, std::ostream& err);

}  // namespace kav::app
