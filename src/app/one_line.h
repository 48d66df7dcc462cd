#pragma once
// A text on one line of output: carriage returns and line feeds written as
// \r and \n, so that what a message box showed stays one line of a log.
#include <string>

namespace kav::app {

inline std::string OneLine(const std::string& text) {
    std::string line;
    for (char c : text) {
        if (c == '\r') {
            line += "\\r";
        } else if (c == '\n') {
            line += "\\n";
        } else {
            line += c;
        }
    }
    return line;
}

}  // namespace kav::app
