#pragma once
// Giving up the rest of the processor time slice.

namespace kav::platform {

class Processor {
public:
    virtual ~Processor() = default;
    // A zero-length sleep: lets other threads and processes run. Processes
    // no window messages.
    virtual void YieldTimeSlice() = 0;
};

}  // namespace kav::platform
