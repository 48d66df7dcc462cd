#include "app/stages/install_log.h"

#include <chrono>
#include <cstdio>
#include <exception>

#include "install/text_file.h"
#include "platform/code_page_1252.h"
#include "platform/errors.h"

namespace kav::app {
namespace {

std::tm LocalTime(std::time_t when) {
    std::tm local{};
#if defined(_WIN32)
    localtime_s(&local, &when);
#else
    localtime_r(&when, &local);
#endif
    return local;
}

// Whether `start` begins as every line of a run log does: a time stamp as
// LocalTimeStamp writes it ("2026-12-08 10:35:12.345") and a blank.
bool StartsLikeARunLog(const std::string& start) {
    const std::string form = "0000-00-00 00:00:00.000 ";
    if (start.size() < form.size()) return false;
    for (std::size_t i = 0; i < form.size(); ++i) {
        const bool digit = start[i] >= '0' && start[i] <= '9';
        if (form[i] == '0' ? !digit : start[i] != form[i]) return false;
    }
    return true;
}

// What an existing log holds, to go on after it; nothing for a new one.
// Another file named for the log is refused before anything is written.
std::string EarlierLog(platform::FileSystem& files, const std::string& path) {
    if (!files.FileExists(path)) return std::string();
    std::string start(24, '\0');
    start.resize(files.OpenRead(path)->Read(start.data(), start.size()));
    if (!start.empty() && !StartsLikeARunLog(start)) {
        throw ELogFileRefused("The log file " + path +
                              " exists and is not a setup log: it is left as it is. Name a new "
                              "file or an earlier log with /LOG=.");
    }
    return install::ReadWholeFile(files, path);
}

}  // namespace

std::string Utf8FromWindows1252(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x80 && byte < 0xA0) {
            // A byte the page leaves undefined becomes the replacement
            // character.
            const char32_t c = platform::kCodePage1252Upper[byte - 0x80];
            platform::AppendUtf8(out, c != 0 ? c : 0xFFFD);
        } else {
            platform::AppendUtf8(out, byte);
        }
    }
    return out;
}

std::string FileEventLog::LocalTimeStamp() {
    const auto now = std::chrono::system_clock::now();
    const std::tm local = LocalTime(std::chrono::system_clock::to_time_t(now));
    const auto ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() %
        1000;
    char text[64];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d.%03d", local.tm_year + 1900,
                  local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec,
                  static_cast<int>(ms));
    return text;
}

std::string DatedLogName(const std::string& folder, std::time_t when) {
    const std::tm local = LocalTime(when);
    char name[80];
    std::snprintf(name, sizeof name, "install-%04d%02d%02d-%02d%02d%02d.log", local.tm_year + 1900,
                  local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
    std::string path = folder;
    if (!path.empty() && path.back() != '\\') path += '\\';
    return path + name;
}

std::unique_ptr<platform::EventLog> OpenRunLog(bool wanted, const std::string& path,
                                               const std::string& temporaryFolder,
                                               platform::FileSystem& files,
                                               FileEventLog::Report report) {
    if (!wanted) return std::make_unique<platform::NoEventLog>();
    return std::make_unique<FileEventLog>(
        files, path.empty() ? DatedLogName(temporaryFolder, std::time(nullptr)) : path,
        std::move(report));
}

FileEventLog::FileEventLog(platform::FileSystem& files, std::string path, Report report,
                           Stamp stamp)
    : path_(std::move(path)), report_(std::move(report)), stamp_(std::move(stamp)) {
    std::string earlier;
    try {
        earlier = EarlierLog(files, path_);
    } catch (const ELogFileRefused&) {
        throw;
    } catch (const std::exception& error) {
        Fail(platform::FailureText(error));
        return;
    }
    try {
        file_ = files.Create(path_);
        if (!earlier.empty()) file_->WriteExactly(earlier.data(), earlier.size());
    } catch (const std::exception& error) {
        Fail(platform::FailureText(error));
    }
}

void FileEventLog::Note(const std::string& event) {
    if (failed_ || !file_) return;
    const std::string line = Utf8FromWindows1252(stamp_() + " " + event) + "\r\n";
    try {
        file_->WriteExactly(line.data(), line.size());
    } catch (const std::exception& error) {
        Fail(platform::FailureText(error));
    }
}

void FileEventLog::Fail(const std::string& why) {
    failed_ = true;
    file_.reset();
    if (report_) report_("The log " + path_ + " cannot be written (" + why + "); the run goes on.");
}

}  // namespace kav::app
