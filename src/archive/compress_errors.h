#pragma once
// Exceptions of the compressed archive reader. Each carries only its
// message; the expansion stage turns any of them into its own message.
#include <cstdint>
#include <string>

#include "lzh/codec_driver.h"
#include "platform/exception.h"

namespace kav::archive {

class EInvalidHeader : public kav::Exception {
public:
    EInvalidHeader() : kav::Exception("Can't recognize compressed file header") {}
};

class EInvalidHeaderArchiveType : public kav::Exception {
public:
    EInvalidHeaderArchiveType() : kav::Exception("Archive type must be caMulti") {}
};

class EUnrecognizedCompressionMethod : public kav::Exception {
public:
    explicit EUnrecognizedCompressionMethod(const std::string& compressId)
        : kav::Exception("Unrecognized compression method: \"" + compressId + "\" in header") {}
};

class EInsufficientDiskSpace : public kav::Exception {
public:
    EInsufficientDiskSpace(const std::string& outputPath, std::int64_t needed,
                           std::int64_t available)
        : kav::Exception("Not enough disk space to expand " + outputPath),
          Needed(needed),
          Available(available) {}
    // The entry's expanded size and the bytes that were free for it.
    std::int64_t Needed;
    std::int64_t Available;
};

class EBadChecksum : public kav::Exception {
public:
    EBadChecksum() : kav::Exception("Bad checksum during expansion -- data may be invalid") {}
};

class EInvalidKey : public kav::Exception {
public:
    EInvalidKey() : kav::Exception("File locked -- valid key required") {}
};

// Raised only by compressing, which this program never does; declared so
// that handlers can name every class of the component.
class EUnableToCompress : public kav::Exception {
public:
    using kav::Exception::Exception;
};

// The codec driver's exception is one of this component's classes too.
using lzh::ELZHBadDecodeTable;

}  // namespace kav::archive
