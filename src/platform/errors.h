#pragma once
// Exceptions raised by the platform layer's streams and file helpers. Each
// carries only its message, like every exception class of the program.
#include <string>

#include "platform/exception.h"

namespace kav::platform {

class EPlatformError : public kav::Exception {
public:
    using kav::Exception::Exception;
};

// A file could not be opened for reading: "Cannot open file <name>".
class EFOpenError : public EPlatformError {
public:
    explicit EFOpenError(const std::string& fileName)
        : EPlatformError("Cannot open file " + fileName) {}
};

// A file could not be created: "Cannot create file <name>".
class EFCreateError : public EPlatformError {
public:
    explicit EFCreateError(const std::string& fileName)
        : EPlatformError("Cannot create file " + fileName) {}
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

}  // namespace kav::platform
