#pragma once
// Encoder of coLZH data (the adaptive "-lh1-" coding).
#include <memory>

#include "pack/encoder.h"

namespace kav::pack {

std::unique_ptr<Encoder> MakeLzhEncoder(Level level, ByteSink& sink);

}  // namespace kav::pack
