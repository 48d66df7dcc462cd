#pragma once
// Exceptions raised by the platform layer's streams and file helpers. Each
// carries only its message, like every exception class of the program.
#include <exception>
#include <string>
#include <utility>

#include "platform/exception.h"

namespace kav::platform {

class EPlatformError : public kav::Exception {
public:
    using kav::Exception::Exception;
    EPlatformError(const std::string& message, std::string systemText)
        : kav::Exception(message), systemText_(std::move(systemText)) {}

    // What the system said of the failure, for the install log; the message
    // is what the user is shown. Empty when the system said nothing.
    const std::string& SystemText() const { return systemText_; }

private:
    std::string systemText_;
};

// A file could not be opened for reading: "Cannot open file <name>".
class EFOpenError : public EPlatformError {
public:
    explicit EFOpenError(const std::string& fileName, std::string systemText = {})
        : EPlatformError("Cannot open file " + fileName, std::move(systemText)) {}
};

// A file could not be created: "Cannot create file <name>".
class EFCreateError : public EPlatformError {
public:
    explicit EFCreateError(const std::string& fileName, std::string systemText = {})
        : EPlatformError("Cannot create file " + fileName, std::move(systemText)) {}
};

// A write stored fewer bytes than it was given.
class EWriteError : public EPlatformError {
public:
    using EPlatformError::EPlatformError;
};

// Any other input/output failure (a directory that cannot be created or
// entered, a seek that fails); the message is the system's.
class EInOutError : public EPlatformError {
public:
    using EPlatformError::EPlatformError;
};

// A failure as the install log tells it: the message, and the system's own
// words when there are any.
inline std::string FailureText(const std::exception& error) {
    const auto* platformError = dynamic_cast<const EPlatformError*>(&error);
    if (platformError == nullptr || platformError->SystemText().empty()) return error.what();
    return std::string(error.what()) + " (" + platformError->SystemText() + ")";
}

}  // namespace kav::platform
