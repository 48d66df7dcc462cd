#include "install/link_places.h"

#include "install/shell_links.h"
#include "setup/system_paths.h"

namespace kav::install {

namespace {

using platform::ShellFolder;

constexpr const char* kQuickLaunchBelowAppData = "\\Microsoft\\Internet Explorer\\Quick Launch\\";

// The shell's folder with a trailing "\", else the Windows directory's
// `place` (which brings its own separators).
std::string PlaceOf(platform::SystemDirectories& dirs, ShellFolder folder, const char* place) {
    const std::string path = dirs.ShellFolderPath(folder);
    if (path.empty()) return setup::WindowsDirectory(dirs) + place;
    return path.back() == '\\' ? path : path + "\\";
}

std::string QuickLaunchOf(platform::SystemDirectories& dirs) {
    std::string appData = dirs.ShellFolderPath(ShellFolder::kAppData);
    if (appData.empty()) return setup::WindowsDirectory(dirs) + kQuickLaunchPlace;
    if (appData.back() == '\\') appData.pop_back();
    return appData + kQuickLaunchBelowAppData;
}

std::string WithoutSeparator(std::string place) {
    if (place.size() > 3 && place.back() == '\\') place.pop_back();
    return place;
}

}  // namespace

LinkPlaces LinkPlaces::Of(platform::SystemDirectories& dirs) {
    const bool shared = dirs.IsAdministrator();
    LinkPlaces places;
    places.programs = PlaceOf(dirs, shared ? ShellFolder::kCommonPrograms : ShellFolder::kPrograms,
                              kProgramsPlace);
    places.startMenu = PlaceOf(
        dirs, shared ? ShellFolder::kCommonStartMenu : ShellFolder::kStartMenu, kStartMenuPlace);
    places.desktop =
        PlaceOf(dirs, shared ? ShellFolder::kCommonDesktop : ShellFolder::kDesktop, kDesktopPlace);
    places.quickLaunch = QuickLaunchOf(dirs);
    return places;
}

std::vector<std::string> AllLinkPlaces(platform::SystemDirectories& dirs) {
    std::vector<std::string> places;
    const auto add = [&](const std::string& place) {
        const std::string path = WithoutSeparator(place);
        for (const std::string& known : places) {
            if (known == path) return;
        }
        places.push_back(path);
    };
    const std::string windows = setup::WindowsDirectory(dirs);
    for (const char* place : {kDesktopPlace, kStartMenuPlace, kProgramsPlace, kQuickLaunchPlace}) {
        add(windows + place);
    }
    for (const ShellFolder folder : {ShellFolder::kDesktop, ShellFolder::kStartMenu,
                                     ShellFolder::kPrograms, ShellFolder::kCommonDesktop,
                                     ShellFolder::kCommonStartMenu, ShellFolder::kCommonPrograms}) {
        const std::string path = dirs.ShellFolderPath(folder);
        if (!path.empty()) add(path);
    }
    add(QuickLaunchOf(dirs));
    return places;
}

}  // namespace kav::install
