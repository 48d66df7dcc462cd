#include "uninstall/registry_place.h"

#include "base/ascii_case.h"
#include "install/directory_table.h"
#include "install/install_undo.h"

namespace kav::uninstall {

using base::AsciiUpper;

std::string RegistryPlace::Key() const {
    std::string key;
    for (const std::string& name : path) key += "\\" + name;
    return key;
}

std::string RegistryPlace::Name() const { return install::RootName(root) + Key(); }

RegistryPlace ParseRegistryPlace(const std::string& text) {
    RegistryPlace place;
    std::string rest = text;
    const std::string upper = base::AsciiUpper(text);
    if (upper.compare(0, 5, "HKEY_") == 0) {
        if (upper.find("HKEY_LOCAL_MACHINE") != std::string::npos) {
            place.root = platform::RootKey::LocalMachine;
        }
        const std::size_t cut = text.find('\\');
        rest = cut == std::string::npos ? std::string() : text.substr(cut + 1);
    }
    std::size_t start = 0;
    while (start <= rest.size()) {
        std::size_t end = rest.find('\\', start);
        if (end == std::string::npos) end = rest.size();
        const std::string name = rest.substr(start, end - start);
        if (name == "..") {
            if (!place.path.empty()) place.path.pop_back();
        } else if (!name.empty() && name != ".") {
            place.path.push_back(name);
        }
        start = end + 1;
    }
    return place;
}

bool IsSharedKey(const RegistryPlace& place) {
    const auto& path = place.path;
    if (path.size() < 3 || base::AsciiUpper(path[0]) != "SOFTWARE") return true;
    const std::string vendor = base::AsciiUpper(path[1]);
    return vendor == "MICROSOFT" || vendor == "CLASSES" || vendor == "POLICIES" ||
           vendor == "WOW6432NODE";
}

bool IsSystemKey(const RegistryPlace& place) {
    const auto& path = place.path;
    if (path.empty()) return true;
    const std::string top = base::AsciiUpper(path[0]);
    if (path.size() == 1) {
        for (const char* system :
             {"SOFTWARE", "SYSTEM", "HARDWARE", "SAM", "SECURITY", "CONTROL PANEL", "ENVIRONMENT",
              "APPEVENTS", "CONSOLE", "KEYBOARD LAYOUT", "NETWORK", "PRINTERS", "IDENTITIES",
              "REMOTEACCESS", "VOLATILE ENVIRONMENT", "CLSID", "INTERFACE", "TYPELIB", "APPID"}) {
            if (top == system) return true;
        }
        return false;
    }
    if (top != "SOFTWARE") return top == "SYSTEM" || top == "HARDWARE";
    const std::string vendor = base::AsciiUpper(path[1]);
    return vendor == "MICROSOFT" || vendor == "CLASSES" || vendor == "POLICIES" ||
           vendor == "WOW6432NODE";
}

}  // namespace kav::uninstall
