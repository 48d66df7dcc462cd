#pragma once
// How much output a fuzz input may make. Headers of crafted data promise
// any size; a target that expanded each input to the size promised would
// spend its time writing zeros. Output in proportion to the input keeps
// every input cheap and still lets ordinary coded data expand in full.
#include <cstddef>

namespace kav::fuzz {

inline constexpr std::size_t kOutputPerInputByte = 32;

}  // namespace kav::fuzz
