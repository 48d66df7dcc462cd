#pragma once
#include "platform/processor.h"

namespace kav::platform {

// Sleep(0).
class Win32Processor final : public Processor {
public:
    void YieldTimeSlice() override;
};

}  // namespace kav::platform
