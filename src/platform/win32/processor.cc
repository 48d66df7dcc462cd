#include "platform/win32/processor.h"

#include <windows.h>

namespace kav::platform {

void Win32Processor::YieldTimeSlice() { ::Sleep(0); }

}  // namespace kav::platform
