#include "widgets/error_report.h"

#include "platform/exception.h"

namespace kav::widgets {

void ErrorReport::Handle(std::exception_ptr error) {
    if (!error) return;
    if (rethrow_) std::rethrow_exception(error);
    try {
        std::rethrow_exception(error);
    } catch (const kav::Exception& e) {
        reported_.emplace_back(e.what());
        if (display_) display_(e.what());
    }
}

}  // namespace kav::widgets
