#include "pack/encoder.h"

#include "pack/lh5_encoder.h"
#include "pack/lzh_encoder.h"
#include "pack/rle_encoder.h"

namespace kav::pack {

std::unique_ptr<Encoder> MakeEncoder(std::uint8_t method, Level level, ByteSink& sink) {
    switch (method) {
        case lzh::coRLE:
            return MakeRleEncoder(sink);
        case lzh::coLZH:
            return MakeLzhEncoder(level, sink);
        case lzh::coLZH5:
            return MakeLh5Encoder(level, sink);
        default:
            return nullptr;
    }
}

Bytes Encode(std::uint8_t method, Level level, const Bytes& data) {
    Bytes coded;
    VectorSink sink(coded);
    auto encoder = MakeEncoder(method, level, sink);
    if (!encoder) return data;
    encoder->Write(data.data(), data.size());
    encoder->Finish();
    return coded;
}

}  // namespace kav::pack
