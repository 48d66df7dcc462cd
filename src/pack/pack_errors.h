#pragma once
#include <stdexcept>
#include <string>

namespace kav::pack {

// A set that cannot be built: the message names the file and the problem.
class EPackError : public std::runtime_error {
public:
    explicit EPackError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace kav::pack
