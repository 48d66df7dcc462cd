#include "support/lhasa_decode.h"

#include <algorithm>
#include <cstring>

extern "C" {
#include <lha_decoder.h>
}

namespace kav::lzh::test {
namespace {

struct LhasaInput {
    const std::vector<std::uint8_t>* coded;
    std::size_t position = 0;
};

std::size_t ReadForLhasa(void* buffer, std::size_t length, void* userData) {
    auto* input = static_cast<LhasaInput*>(userData);
    const std::size_t n = std::min(length, input->coded->size() - input->position);
    std::memcpy(buffer, input->coded->data() + input->position, n);
    input->position += n;
    return n;
}

}  // namespace

std::vector<std::uint8_t> DecodeWithLhasa(const char* method,
                                          const std::vector<std::uint8_t>& coded,
                                          std::size_t size) {
    LhasaInput input{&coded};
    LHADecoderType* type = lha_decoder_for_name(const_cast<char*>(method));
    LHADecoder* decoder = lha_decoder_new(type, ReadForLhasa, &input, size);
    std::vector<std::uint8_t> output(size);
    std::size_t done = 0;
    while (done < size) {
        const std::size_t n = lha_decoder_read(decoder, output.data() + done, size - done);
        if (n == 0) break;
        done += n;
    }
    lha_decoder_free(decoder);
    output.resize(done);
    return output;
}

}  // namespace kav::lzh::test
