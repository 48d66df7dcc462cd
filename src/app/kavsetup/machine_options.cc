#include "app/kavsetup/machine_options.h"

#include "platform/exception.h"

namespace kav::app {

bool MachineOptions::Take(const std::vector<std::string>& args, std::size_t& i) {
    const std::string& arg = args[i];
    if (arg != "--code-page" && arg != "--user") return false;
    if (i + 1 >= args.size()) throw kav::Exception(arg + " needs a value");
    const std::string& value = args[++i];
    if (arg == "--user") {
        if (value.empty() || value.find_first_of("\\/:*?\"<>|") != std::string::npos) {
            throw kav::Exception("--user " + value + ": not a folder name");
        }
        userName = value;
        return true;
    }
    using platform::sim::SystemCodePage;
    for (const SystemCodePage page :
         {SystemCodePage::k1252, SystemCodePage::k1251, SystemCodePage::k932}) {
        if (value == std::to_string(static_cast<int>(page))) {
            codePage = page;
            return true;
        }
    }
    throw kav::Exception("--code-page " + value + ": 1252, 1251 or 932");
}

void MachineOptions::ApplyTo(platform::sim::SimMachine& machine) const {
    machine.SetSystemCodePage(codePage);
    if (userName) machine.UseProfile(platform::sim::ShellProfile::CurrentWindows(*userName));
}

}  // namespace kav::app
