#include "lzh/codec_driver.h"

#include <memory>

#include "lzh/adaptive_lzh_decoder.h"
#include "lzh/codec_driver_core.h"
#include "lzh/lzh5_decoder.h"
#include "lzh/rle_decoder.h"

namespace kav::lzh {

std::uint32_t ExpandCodedData(const CodecSettings& settings, platform::Stream& source,
                              platform::Stream& target, bool locked, std::uint8_t method,
                              std::int32_t uncompressedSize, std::int32_t compressedSize) {
    // The buffers live in this per-call instance and are released on every
    // exit; after an exception the partly filled output is not written.
    const auto driver =
        std::make_unique<CodecDriver>(settings, source, target, locked, compressedSize);
    switch (method) {
        case coRLE:
            DecodeRLE(*driver);
            break;
        case coLZH:
            DecodeLZH(*driver, uncompressedSize);
            break;
        case coLZH5:
            DecodeLZH5(*driver, uncompressedSize);
            break;
        default:
            return 0;
    }
    const std::uint32_t sum = driver->OutputSum();
    driver->FlushRest();
    return sum;
}

}  // namespace kav::lzh
