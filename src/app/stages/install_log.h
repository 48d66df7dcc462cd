#pragma once
// The install log: a UTF-8 text file with one time-stamped line per event.
// Writing it never changes how a run goes: a log that cannot be created or
// written is reported once and then left alone.
#include <ctime>
#include <functional>
#include <memory>
#include <string>

#include "platform/event_log.h"
#include "platform/exception.h"
#include "platform/file_system.h"

namespace kav::app {

// The file named for the log exists and is not a log of this program: it
// is left as it is, and the run does not start.
class ELogFileRefused : public kav::Exception {
public:
    using kav::Exception::Exception;
};

class FileEventLog final : public platform::EventLog {
public:
    using Report = std::function<void(const std::string& problem)>;
    using Stamp = std::function<std::string()>;

    // Creates the file `path` on `files`, or goes on at the end of it when
    // it is an earlier run's log (or empty). Throws ELogFileRefused for any
    // other existing file, which is never written.
    FileEventLog(platform::FileSystem& files, std::string path, Report report,
                 Stamp stamp = LocalTimeStamp);

    void Note(const std::string& event) override;
    const std::string& Path() const { return path_; }

    // "2026-12-08 10:35:12.345", the local time now.
    static std::string LocalTimeStamp();

private:
    void Fail(const std::string& why);

    std::string path_;
    Report report_;
    Stamp stamp_;
    std::unique_ptr<platform::Stream> file_;
    bool failed_ = false;
};

// The log a run asks for: none unless `wanted` (a log that drops every
// event); else the file `path`, or when it is empty a dated name in
// `temporaryFolder`. Throws ELogFileRefused as FileEventLog does.
std::unique_ptr<platform::EventLog> OpenRunLog(bool wanted, const std::string& path,
                                               const std::string& temporaryFolder,
                                               platform::FileSystem& files,
                                               FileEventLog::Report report);

// The log's name when /LOG names none: `folder` + "\install-YYYYMMDD-HHMMSS.log"
// for the local time `when`.
std::string DatedLogName(const std::string& folder, std::time_t when);

// Text in the Windows code page 1252 (the program's strings) as UTF-8.
std::string Utf8FromWindows1252(const std::string& text);

}  // namespace kav::app
