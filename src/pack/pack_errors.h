#pragma once
#include <string>

#include "platform/exception.h"

namespace kav::pack {

// A set that cannot be built: the message names the file and the problem.
class EPackError : public kav::Exception {
public:
    explicit EPackError(const std::string& message) : kav::Exception(message) {}
};

}  // namespace kav::pack
