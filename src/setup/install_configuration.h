#pragma once
// The installation script install.cfg in memory: the scalar settings of
// "Setup - Main" and the six ordered lists.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/profile.h"

namespace kav::setup {

using StringList = std::vector<std::string>;

struct InstallConfiguration {
    std::int32_t InstallDisks = 0;
    std::string InstallDir;
    std::string Launch;
    std::string Folder = "Accessories";
    bool AddToProgramFiles = false;
    bool ShowWarningScreen = true;
    bool ShowReBoot = true;
    bool WorkStationPrompt = false;
    std::string BitmapFile;
    bool AlignCenter = false;
    bool AlignLeft = true;
    bool AlignRight = false;
    // For Windows' list of programs: shown when set. The product ID names
    // the product's Uninstall key (the title when empty), so that it can
    // stay the same across versions whose titles differ.
    std::string Publisher;
    std::string Version;
    std::string ProductId;

    StringList Directories;
    StringList Files;  // every item ends in "~" or "~X" (overwrite mark)
    StringList Desktop;
    StringList IniSetup;
    StringList WorkStation;
    StringList AutoexecBat;
};

// The look of one header line of the main screen.
struct HeaderLook {
    std::string text;
    std::string fontName;
    std::int32_t fontSize = 0;  // points
    std::uint32_t fontColor = 0;
    std::uint32_t shadowColor = 0;
};

// The main screen's settings that the script overrides: the background's
// two colours and the two header lines.
struct ScreenLook {
    std::uint32_t fromColor = 0;
    std::uint32_t toColor = 0;
    HeaderLook header;
    HeaderLook header2;
};

// Reads `sourceDirectory` + "install.cfg" (the directory ends in "\").
// `look` holds the main screen's current values, which are the defaults of
// the colour and header keys, and receives the script's values. Never
// fails: whatever is missing or unreadable keeps its default. The profile
// files forget the parsed script afterwards.
InstallConfiguration LoadInstallConfiguration(platform::ProfileFiles& profiles,
                                              const std::string& sourceDirectory, ScreenLook& look);

}  // namespace kav::setup
