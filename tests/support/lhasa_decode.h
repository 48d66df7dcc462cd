#pragma once
// A raw "-lh5-" or "-lh1-" stream decoded by liblhasa, the independent
// decoder the tests compare with.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace kav::lzh::test {

// The first `size` bytes liblhasa decodes from `coded` (fewer if it stops).
std::vector<std::uint8_t> DecodeWithLhasa(const char* method,
                                          const std::vector<std::uint8_t>& coded, std::size_t size);

}  // namespace kav::lzh::test
