#pragma once
// The encoders of the three coded methods, fed in pieces so that a file of
// any size is coded in fixed memory.
#include <cstdint>
#include <memory>
#include <string>

#include "lzh/compression_method.h"
#include "pack/byte_sink.h"

namespace kav::pack {

// How hard the LZ encoders look for matches. fast: greedy with short
// chains; normal: lazy matching; best: cost-driven parsing (LZH5).
enum class Level { Fast, Normal, Best };

class Encoder {
public:
    virtual ~Encoder() = default;
    virtual void Write(const std::uint8_t* data, std::size_t size) = 0;
    // Codes what is left and writes the final bits; call once.
    virtual void Finish() = 0;
};

// An encoder of coRLE, coLZH or coLZH5 data into `sink`; nullptr for
// methods that are not coded (coNone, coCustom and unknown ones).
std::unique_ptr<Encoder> MakeEncoder(std::uint8_t method, Level level, ByteSink& sink);

// The coded form of a whole buffer; stored methods return it unchanged.
Bytes Encode(std::uint8_t method, Level level, const Bytes& data);

}  // namespace kav::pack
