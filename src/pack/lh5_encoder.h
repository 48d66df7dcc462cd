#pragma once
// Encoder of coLZH5 data (the "-lh5-" coding).
#include <memory>

#include "pack/encoder.h"

namespace kav::pack {

std::unique_ptr<Encoder> MakeLh5Encoder(Level level, ByteSink& sink);

}  // namespace kav::pack
