#pragma once
// Encoder of coRLE data: runs of three or more equal bytes become the byte
// and a run token (escape 0x94, count); the escape byte itself is sent as
// 0x94 0x00.
#include <memory>

#include "pack/encoder.h"

namespace kav::pack {

std::unique_ptr<Encoder> MakeRleEncoder(ByteSink& sink);

}  // namespace kav::pack
