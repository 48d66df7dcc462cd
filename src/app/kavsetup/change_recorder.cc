#include "app/kavsetup/change_recorder.h"

#include <algorithm>
#include <cstdio>

#include "base/ascii_case.h"
#include "platform/errors.h"

namespace kav::app {

namespace {

constexpr const char* kMissing = "\x01missing";

bool IsUninstallScript(const std::string& file) {
    const std::string name = "\\UNINSTALL.CFG";
    const std::string upper = base::AsciiUpper(file);
    return upper.size() >= name.size() &&
           upper.compare(upper.size() - name.size(), name.size(), name) == 0;
}

std::string Json(const std::string& text) {
    std::string out = "\"";
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\n') {
            out += "\\n";
        } else if (u < 0x20) {
            static const char* const hex = "0123456789abcdef";
            out += "\\u00";
            out += hex[u >> 4];
            out += hex[u & 15];
        } else {
            out += c;
        }
    }
    return out + "\"";
}

}  // namespace

struct ChangeRecorder::Report {
    struct File {
        std::string path;
        std::int64_t size;
    };
    struct Value {
        std::string root, key, name, value;
    };
    struct Entry {
        std::string file, section, key, value;
    };
    struct Script {
        std::string path, text;
    };
    std::vector<std::string> directories;
    std::vector<File> files;
    std::vector<Value> registry;
    std::vector<Entry> ini;
    std::vector<Script> scripts;
};

bool ChangeRecorder::MakeDirectory(const std::string& path) {
    const bool made = files().MakeDirectory(path);
    if (made) directories_.Note(files().FullPathName(path));
    return made;
}

std::unique_ptr<platform::FileStream> ChangeRecorder::Create(const std::string& path) {
    auto stream = files().Create(path);
    files_.Note(files().FullPathName(path));
    return stream;
}

// The file written beside the target (noted when it was created) is gone
// afterwards; what is there now is the target.
bool ChangeRecorder::MoveOnto(const std::string& source, const std::string& target) {
    if (!files().MoveOnto(source, target)) return false;
    files_.Note(files().FullPathName(target));
    return true;
}

bool ChangeRecorder::MoveToNew(const std::string& source, const std::string& target) {
    if (!files().MoveToNew(source, target)) return false;
    files_.Note(files().FullPathName(target));
    return true;
}

bool ChangeRecorder::SetStringValue(platform::RootKey root, const std::string& key,
                                    const std::string& name, const std::string& value) {
    if (!Inner().RegistryKeys().SetStringValue(root, key, name, value)) return false;
    NoteValue(root, key, name, value);
    return true;
}

bool ChangeRecorder::SetDwordValue(platform::RootKey root, const std::string& key,
                                   const std::string& name, std::uint32_t value) {
    if (!Inner().RegistryKeys().SetDwordValue(root, key, name, value)) return false;
    // As REGEDIT4 writes a number.
    char text[16];
    std::snprintf(text, sizeof text, "dword:%08x", static_cast<unsigned>(value));
    NoteValue(root, key, name, text);
    return true;
}

void ChangeRecorder::NoteValue(platform::RootKey root, const std::string& key,
                               const std::string& name, const std::string& value) {
    const std::string rootName =
        root == platform::RootKey::LocalMachine ? "HKEY_LOCAL_MACHINE" : "HKEY_CURRENT_USER";
    // The registry takes a key path with or without its leading "\"; the
    // report names it once, below its root.
    const std::string path = key.substr(std::min(key.find_first_not_of('\\'), key.size()));
    const auto id = std::make_tuple(rootName, path, name);
    if (!registryValues_.count(id)) registryOrder_.push_back(id);
    registryValues_[id] = value;
}

bool ChangeRecorder::WriteString(const std::string& file, const std::string& section,
                                 const std::string& key, const std::string& value) {
    if (!Inner().Profiles().WriteString(file, section, key, value)) return false;
    const auto id = std::make_tuple(file, section, key);
    if (std::find(profileEntries_.begin(), profileEntries_.end(), id) == profileEntries_.end()) {
        profileEntries_.push_back(id);
    }
    return true;
}

ChangeRecorder::Report ChangeRecorder::Collect() {
    Report report;
    for (const std::string& dir : directories_.items) {
        if (files().DirectoryExists(dir)) report.directories.push_back(dir);
    }
    // The uninstall script is written whole as a file; it is shown as a
    // script, not among the files.
    NameList scripts;
    for (const std::string& path : files_.items) {
        const auto found = files().FindFiles(path, platform::faAnyFile & ~platform::faDirectory);
        if (found.size() != 1) continue;
        if (IsUninstallScript(path)) {
            scripts.Note(path);
        } else {
            report.files.push_back({path, found.front().size});
        }
    }
    for (const auto& id : registryOrder_) {
        const auto& [root, key, name] = id;
        report.registry.push_back({root, key, name, registryValues_.at(id)});
    }
    for (const auto& [file, section, key] : profileEntries_) {
        if (IsUninstallScript(file)) {
            scripts.Note(file);
            continue;
        }
        const std::string value = Inner().Profiles().ReadString(file, section, key, kMissing);
        if (value != kMissing) report.ini.push_back({file, section, key, value});
    }
    for (const std::string& file : scripts.items) {
        std::string text;
        try {
            auto in = files().OpenRead(file);
            char buffer[4096];
            for (std::size_t n; (n = in->Read(buffer, sizeof buffer)) > 0;) text.append(buffer, n);
        } catch (const kav::Exception&) {
            continue;
        }
        report.scripts.push_back({file, text});
    }
    return report;
}

void ChangeRecorder::WriteText(std::ostream& out) {
    const Report report = Collect();
    out << "Directories made: " << report.directories.size() << "\n";
    for (const auto& dir : report.directories) out << "  " << dir << "\n";
    out << "Files written: " << report.files.size() << "\n";
    for (const auto& file : report.files) {
        out << "  " << file.path << " (" << file.size << " bytes)\n";
    }
    out << "Registry values set: " << report.registry.size() << "\n";
    for (const auto& v : report.registry) {
        out << "  " << v.root << "\\" << v.key << " " << v.name << " = " << v.value << "\n";
    }
    out << "INI entries written: " << report.ini.size() << "\n";
    for (const auto& e : report.ini) {
        out << "  " << e.file << " [" << e.section << "] " << e.key << "=" << e.value << "\n";
    }
    for (const auto& script : report.scripts) {
        out << "Uninstall script " << script.path << ":\n";
        std::size_t start = 0;
        while (start < script.text.size()) {
            std::size_t end = script.text.find('\n', start);
            if (end == std::string::npos) end = script.text.size();
            std::string line = script.text.substr(start, end - start);
            if (!line.empty() && line.back() == '\r') line.pop_back();
            if (!line.empty()) out << "  " << line << "\n";
            start = end + 1;
        }
    }
}

void ChangeRecorder::WriteJson(std::ostream& out) {
    const Report report = Collect();
    const auto list = [&](const char* name, const auto& items, const auto& write) {
        out << "  " << Json(name) << ": [";
        for (std::size_t i = 0; i < items.size(); ++i) {
            out << (i ? ",\n    " : "\n    ");
            write(items[i]);
        }
        out << (items.empty() ? "]" : "\n  ]");
    };
    out << "{\n";
    list("directories", report.directories, [&](const std::string& d) { out << Json(d); });
    out << ",\n";
    list("files", report.files, [&](const Report::File& f) {
        out << "{\"path\": " << Json(f.path) << ", \"size\": " << f.size << "}";
    });
    out << ",\n";
    list("registry", report.registry, [&](const Report::Value& v) {
        out << "{\"root\": " << Json(v.root) << ", \"key\": " << Json(v.key)
            << ", \"name\": " << Json(v.name) << ", \"value\": " << Json(v.value) << "}";
    });
    out << ",\n";
    list("ini", report.ini, [&](const Report::Entry& e) {
        out << "{\"file\": " << Json(e.file) << ", \"section\": " << Json(e.section)
            << ", \"key\": " << Json(e.key) << ", \"value\": " << Json(e.value) << "}";
    });
    out << ",\n";
    list("uninstallScripts", report.scripts, [&](const Report::Script& s) {
        out << "{\"path\": " << Json(s.path) << ", \"text\": " << Json(s.text) << "}";
    });
    out << "\n}\n";
}

}  // namespace kav::app
