#include "app/kavpack/init_command.h"

#include <fstream>
#include <map>
#include <ostream>
#include <sstream>

#include "app/kavpack/build_command.h"
#include "app/kavpack/messages.h"
#include "app/kavpack/source_scan.h"
#include "app/kavpack/uninstaller_file.h"
#include "base/ascii_case.h"
#include "base/path_parts.h"
#include "pack/stored_names.h"

namespace kav::app {
namespace {

namespace fs = std::filesystem;

// Characters that cannot stand in a file name of the script's lists: "~"
// separates their fields, the rest are refused in Windows names and
// skipped by the install engine. Folder names may hold "~".
constexpr const char* kNotInScriptNames = "~*?\"<>|";

// Why the file name `name` (code page 1252) cannot be written into the
// script, or empty: it starts its line's value, whose blanks are dropped.
std::string ScriptNameProblem(const std::string& name) {
    if (name.find_first_of(kNotInScriptNames) != std::string::npos) {
        return "holds one of ~ * ? \" < > |, which a script line cannot carry";
    }
    if (name.front() == ' ') return "begins with a blank, which the script's reader drops";
    return "";
}

// Why a folder name cannot be made by the installer, or empty.
std::string FolderNameProblem(const std::string& name) {
    if (name.find_first_of(kNotInScriptNames + 1) != std::string::npos) {
        return "holds one of * ? \" < > |, which Windows refuses in a folder name";
    }
    return "";
}

bool IsPicture(const std::string& name) {
    const std::string upper = base::AsciiUpper(name);
    for (const std::string extension : {".GIF", ".BMP", ".JPG", ".JPEG", ".PNG", ".ICO"}) {
        if (upper.size() > extension.size() &&
            upper.compare(upper.size() - extension.size(), extension.size(), extension) == 0)
            return true;
    }
    return false;
}

bool IsProgram(const std::string& name) {
    const std::string upper = base::AsciiUpper(name);
    return upper.size() > 4 && upper.compare(upper.size() - 4, 4, ".EXE") == 0 &&
           upper != base::AsciiUpper(kUninstallerName);
}

// One list section: key names made of `prefix` and a count from 1.
class ListSection {
public:
    ListSection(std::string name, std::string prefix)
        : name_(std::move(name)), prefix_(std::move(prefix)) {}

    void Add(const std::string& value) {
        const std::string key = prefix_ + std::to_string(values_.size() + 1);
        values_.push_back(key + "=" + value);
    }
    std::size_t Size() const { return values_.size(); }
    const std::string& Name() const { return name_; }

    void WriteTo(std::ostream& out) const {
        out << "\r\n[" << name_ << "]\r\n";
        for (const std::string& line : values_) out << line << "\r\n";
    }

private:
    std::string name_;
    std::string prefix_;
    std::vector<std::string> values_;
};

class Initializer {
public:
    Initializer(const InitOptions& options, std::ostream& out, std::ostream& err)
        : options_(options), out_(out), err_(err) {}

    int Run() {
        const fs::path script = options_.source / "install.cfg";
        if (!fs::is_directory(options_.source)) {
            return Fail(options_.source.string() + ": not a folder");
        }
        if (fs::exists(script) && !options_.force) {
            return Fail(script.string() + ": exists; not replacing it (give --force)");
        }
        std::string title = options_.title;
        if (title.empty()) {
            fs::path folder = fs::absolute(options_.source).lexically_normal();
            if (folder.filename().empty()) folder = folder.parent_path();
            title = folder.filename().string();
        }
        if (!Ansi("--title", title, title_) ||
            !Ansi("--publisher", options_.publisher, publisher_) ||
            !Ansi("--version", options_.version, version_)) {
            return kPackUsage;
        }
        // The title names the install folder, the program folder and the
        // product's Uninstall key.
        const auto plainTitle = base::PlainFileName(title_);
        if (title_.empty() || !plainTitle || *plainTitle != title_ ||
            !ScriptNameProblem(title_).empty()) {
            return Usage("the title \"" + title +
                         "\" names the install folder: give one without \\ / : ~ * ? \" < > |");
        }

        SourceScan scan = ScanSourceFolder(options_.source);
        for (const auto& warning : scan.warnings) Warn(warning);
        std::vector<std::string> problems = scan.problems;
        const std::map<std::string, std::string> folders = FoldersOf(scan, problems);
        if (!problems.empty()) {
            for (const auto& problem : problems) Problem(problem);
            return Fail("no script written: " + std::to_string(problems.size()) +
                        " name(s) the installer could not place");
        }
        const std::string text = Script(scan, folders);
        if (text.empty()) return kPackFailure;
        std::ofstream file(script, std::ios::binary | std::ios::trunc);
        file << text;
        file.close();
        if (!file) return Fail(script.string() + ": cannot be written");
        out_ << script.string() << ": " << scan.files.size() << " files in " << folders.size() + 1
             << " folder(s)\n";
        return kPackSuccess;
    }

private:
    bool Ansi(const char* option, const std::string& utf8, std::string& ansi) {
        const auto converted = pack::ToWindowsAnsi(utf8);
        if (!converted || converted->find_first_of("\r\n") != std::string::npos) {
            Usage(std::string(option) + ": one line in the Windows code page 1252, please");
            return false;
        }
        ansi = *converted;
        return true;
    }

    // Every folder below the source that holds a file, by its stored
    // path ("docs\old"), with the tag its Directories row gets. Also every
    // parent folder on the way, so that each row's folder is made.
    std::map<std::string, std::string> FoldersOf(const SourceScan& scan,
                                                 std::vector<std::string>& problems) const {
        std::map<std::string, std::string> folders;
        for (const auto& file : scan.files) {
            std::string rest = file.storedName;
            for (std::size_t cut = 0; (cut = rest.find('\\', cut)) != std::string::npos; ++cut) {
                folders.emplace(rest.substr(0, cut), "");
            }
            const std::string name = base::FileNamePart(file.storedName);
            if (const std::string problem = ScriptNameProblem(name); !problem.empty()) {
                problems.push_back("\"" + file.storedName + "\": " + problem);
            }
        }
        int number = 0;
        for (auto& [path, tag] : folders) {
            tag = "<SUB" + std::to_string(++number) + "><INSTALLDIR>";
            const std::string name = base::FileNamePart(path);
            if (const std::string problem = FolderNameProblem(name); !problem.empty()) {
                problems.push_back("\"" + path + "\": " + problem);
            }
        }
        return folders;
    }

    std::string Script(const SourceScan& scan, const std::map<std::string, std::string>& folders) {
        ListSection directories("Directories", "Dir");
        directories.Add("<INSTALLDIR>~");
        for (const auto& [path, tag] : folders) directories.Add(tag + "~" + path);

        ListSection files("Files", "File");
        ListSection desktop("Desktop", "Icon");
        std::string picture;
        bool hasUninstaller = false;
        for (const auto& file : scan.files) {
            const std::string folder = base::DirectoryPart(file.storedName);
            const std::string name = base::FileNamePart(file.storedName);
            const bool top = folder.empty();
            files.Add(name + "~" +
                      (top ? "<INSTALLDIR>" : folders.at(folder.substr(0, folder.size() - 1))));
            if (!top) continue;
            if (base::AsciiUpper(name) == base::AsciiUpper(kUninstallerName)) hasUninstaller = true;
            if (picture.empty() && IsPicture(name)) picture = name;
            if (IsProgram(name)) {
                const std::string link = name.substr(0, name.size() - 4);
                desktop.Add(link + "~<INSTALLDIR>" + name + "~X~~<INSTALLDIR>" + name + "~" +
                            title_);
            }
        }
        // kavpack build puts one into every set; this line installs it and
        // so registers the product for uninstalling.
        if (!hasUninstaller) files.Add(std::string(kUninstallerName) + "~<INSTALLDIR>");

        std::ostringstream text;
        text << "[Setup - Main]\r\n"
             << "Install Disks=1\r\n"
             << "Install Dir=" << title_ << "\r\n"
             << "Add to Program Files=1\r\n"
             << "Folder=" << title_ << "\r\n"
             << "Header=" << title_
             << "\r\n"
             // A product that needs a restart says so itself.
             << "Show Re-Boot=0\r\n";
        if (!publisher_.empty()) text << "Publisher=" << publisher_ << "\r\n";
        if (!version_.empty()) text << "Version=" << version_ << "\r\n";
        if (!picture.empty()) text << "Bitmap File=" << picture << "\r\nAlign Center=1\r\n";
        directories.WriteTo(text);
        files.WriteTo(text);
        if (desktop.Size() > 0) desktop.WriteTo(text);
        return text.str();
    }

    int Usage(const std::string& text) {
        Problem(text);
        return kPackUsage;
    }
    int Fail(const std::string& text) {
        Problem(text);
        return kPackFailure;
    }
    void Problem(const std::string& text) { WriteProblem(err_, text); }
    void Warn(const std::string& text) { WriteWarning(err_, text); }

    const InitOptions& options_;
    std::ostream& out_;
    std::ostream& err_;
    std::string title_, publisher_, version_;
};

}  // namespace

int RunInit(const InitOptions& options, std::ostream& out, std::ostream& err) {
    try {
        return Initializer(options, out, err).Run();
    } catch (const std::exception& error) {
        err << "kavpack: " << error.what() << "\n";
        return kPackFailure;
    }
}

}  // namespace kav::app
