#pragma once
// The root of the program's own exception classes. Each carries only its
// message. The application's error report shows these to the user and goes
// on; anything else (a logic error, a failed allocation) is a fault of the
// program and is not caught as a user-facing failure.
#include <stdexcept>

namespace kav {

class Exception : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace kav
