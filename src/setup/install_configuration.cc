#include "setup/install_configuration.h"

#include "setup/profile_values.h"

namespace kav::setup {
namespace {

constexpr const char* kMain = "Setup - Main";
constexpr const char* kDefaultHeader = "KAV - Zephyrin 32Bit";

void ReadHeaderFont(const ProfileReader& cfg, const std::string& prefix, HeaderLook& header) {
    header.fontName = cfg.ReadString(kMain, prefix + " Font Name", header.fontName);
    header.fontSize = cfg.ReadInteger(kMain, prefix + " Font Size", header.fontSize);
    header.fontColor = cfg.ReadColor(kMain, prefix + " Font Color", header.fontColor);
    header.shadowColor = cfg.ReadColor(kMain, prefix + " Font Shadow", header.shadowColor);
}

StringList ReadValues(const ProfileReader& cfg, const std::string& section) {
    return cfg.ListValues(section);
}

}  // namespace

InstallConfiguration LoadInstallConfiguration(platform::ProfileFiles& profiles,
                                              const std::string& sourceDirectory,
                                              ScreenLook& look) {
    const ProfileReader cfg(profiles, sourceDirectory + "install.cfg");
    InstallConfiguration c;

    c.InstallDisks = cfg.ReadInteger(kMain, "Install Disks", 0);
    c.InstallDir = cfg.ReadString(kMain, "Install Dir", "");
    c.Launch = cfg.ReadString(kMain, "Launch", "");
    c.Folder = cfg.ReadString(kMain, "Folder", "Accessories");
    c.AddToProgramFiles = cfg.ReadBool(kMain, "Add to Program Files", false);
    c.ShowWarningScreen = cfg.ReadBool(kMain, "Show Warning Screen", true);
    c.ShowReBoot = cfg.ReadBool(kMain, "Show Re-Boot", true);
    c.WorkStationPrompt = cfg.ReadBool(kMain, "Work Station Prompt", false);
    c.BitmapFile = cfg.ReadString(kMain, "Bitmap File", "");
    c.AlignCenter = cfg.ReadBool(kMain, "Align Center", false);
    c.AlignLeft = cfg.ReadBool(kMain, "Align Left", true);
    c.AlignRight = cfg.ReadBool(kMain, "Align Right", false);
    c.Publisher = cfg.ReadString(kMain, "Publisher", "");
    c.Version = cfg.ReadString(kMain, "Version", "");
    c.ProductId = cfg.ReadString(kMain, "Product ID", "");
    look.fromColor = cfg.ReadColor(kMain, "Dither From", look.fromColor);
    look.toColor = cfg.ReadColor(kMain, "Dither To", look.toColor);
    look.header.text = cfg.ReadString(kMain, "Header", kDefaultHeader);
    ReadHeaderFont(cfg, "Header", look.header);
    look.header2.text = cfg.ReadString(kMain, "Header2", look.header2.text);
    ReadHeaderFont(cfg, "Header2", look.header2);

    c.Directories = ReadValues(cfg, "Directories");
    const StringList files = ReadValues(cfg, "Files");
    for (std::size_t i = 0; i < files.size(); ++i) {
        const bool overwrite =
            cfg.ReadBool("Files - OverWrite", "File #" + std::to_string(i), false);
        c.Files.push_back(files[i] + (overwrite ? "~X" : "~"));
    }
    c.Desktop = ReadValues(cfg, "Desktop");
    c.IniSetup = ReadValues(cfg, "INI - Setup");
    c.WorkStation = ReadValues(cfg, "WorkStation");
    // Lines of this section are kept whole: the key name is the line as far
    // as its first "=", and a line without one is all key name.
    c.AutoexecBat = cfg.ListKeys("AUTOEXEC.BAT");
    // The run keeps what it needs of a script of thousands of lines here.
    profiles.ForgetParsedFiles();
    return c;
}

}  // namespace kav::setup
