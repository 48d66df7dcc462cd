// Any text as a profile file: reading, listing, writing and removing must
// stay inside the text, and what was written must read back.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "base/profile_document.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    // The first line names the section and key to work on.
    const auto newline = text.find('\n');
    const std::string name = text.substr(0, newline == std::string::npos ? 0 : newline);
    const std::string body = newline == std::string::npos ? text : text.substr(newline + 1);
    const auto split = name.find('|');
    const std::string section = name.substr(0, split);
    const std::string key = split == std::string::npos ? "k" : name.substr(split + 1);

    kav::base::ProfileDocument document(body);
    if (document.Text() != body) std::abort();  // reading changes nothing
    document.Read(section, key);
    document.ListKeys(section);
    document.Write(section, key, "value");
    // Names with line ends or brackets cannot be written back as such.
    const bool plain = section.find_first_of("[]\r\n") == std::string::npos &&
                       key.find_first_of("=\r\n;[") == std::string::npos &&
                       key.find_first_not_of(" \t\v\f") != std::string::npos &&
                       section.find_first_not_of(" \t\v\f") != std::string::npos;
    if (plain) {
        // Both through the edited document's lookups and parsed afresh.
        if (document.Read(section, key) != "value") std::abort();
        kav::base::ProfileDocument reread(document.Text());
        if (reread.Read(section, key) != "value") std::abort();
    }
    document.RemoveSection(section);
    return 0;
}
