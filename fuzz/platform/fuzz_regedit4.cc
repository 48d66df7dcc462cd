// Any text as the simulated registry's file: reading it must stay inside the
// text, and the tree must survive being written and read again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/sim/registry_tree.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const auto tree = kav::platform::sim::RegistryTree::FromRegedit4(text);
    const std::string written = tree.ToRegedit4();
    if (kav::platform::sim::RegistryTree::FromRegedit4(written).ToRegedit4() != written) {
        std::abort();
    }
    return 0;
}
