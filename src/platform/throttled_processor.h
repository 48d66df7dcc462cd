#pragma once
// The decoders yield the processor after every 8 KiB they fetch or write,
// so that the installer's one GUI thread leaves other programs their turn.
// A run nobody watches (kavset, an unattended install) has no window to keep
// alive and runs under a preemptive scheduler: a yield every 8 KiB would
// cost more than reading the data, and on a busy machine each one may hand
// the processor away for a whole time slice. This passes one on at most
// once a millisecond, so a long run still lets the others in regularly.
#include <chrono>

#include "platform/processor.h"

namespace kav::platform {

class ThrottledProcessor final : public Processor {
public:
    explicit ThrottledProcessor(Processor& inner) : inner_(inner) {}

    void YieldTimeSlice() override {
        const auto now = std::chrono::steady_clock::now();
        if (now - lastYield_ < kSpacing) return;
        lastYield_ = now;
        inner_.YieldTimeSlice();
    }

private:
    static constexpr std::chrono::milliseconds kSpacing{1};
    Processor& inner_;
    std::chrono::steady_clock::time_point lastYield_{};
};

}  // namespace kav::platform
