#pragma once
// Exceptions of the compressed archive reader. Each carries only its
// message; the expansion stage turns any of them into its own message.
#include <cstdint>
#include <stdexcept>
#include <string>

#include "lzh/codec_driver.h"

namespace kav::archive {

class EInvalidHeader : public std::runtime_error {
public:
    EInvalidHeader() : std::runtime_error("Can't recognize compressed file header") {}
};

class EInvalidHeaderArchiveType : public std::runtime_error {
public:
    EInvalidHeaderArchiveType() : std::runtime_error("Archive type must be caMulti") {}
};

class EUnrecognizedCompressionMethod : public std::runtime_error {
public:
    explicit EUnrecognizedCompressionMethod(const std::string& compressId)
        : std::runtime_error("Unrecognized compression method: \"" + compressId + "\" in header") {}
};

class EInsufficientDiskSpace : public std::runtime_error {
public:
    EInsufficientDiskSpace(const std::string& outputPath, std::int64_t needed,
                           std::int64_t available)
        : std::runtime_error("Not enough disk space to expand " + outputPath),
          Needed(needed),
          Available(available) {}
    // The entry's expanded size and the bytes that were free for it.
    std::int64_t Needed;
    std::int64_t Available;
};

class EBadChecksum : public std::runtime_error {
public:
    EBadChecksum() : std::runtime_error("Bad checksum during expansion -- data may be invalid") {}
};

class EInvalidKey : public std::runtime_error {
public:
    EInvalidKey() : std::runtime_error("File locked -- valid key required") {}
};

// Raised only by compressing, which this program never does; declared so
// that handlers can name every class of the component.
class EUnableToCompress : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The codec driver's exception is one of this component's classes too.
using lzh::ELZHBadDecodeTable;

}  // namespace kav::archive
