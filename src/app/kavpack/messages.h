#pragma once
// kavpack's messages on its error stream. They name source files, whose
// names may hold control characters: those are spelled out as \xNN, so that
// a name cannot drive the terminal.
#include <ostream>
#include <string>

#include "app/kavset/safe_names.h"

namespace kav::app {

inline void WriteProblem(std::ostream& err, const std::string& text) {
    err << "kavpack: " << PrintableText(text) << "\n";
}

inline void WriteWarning(std::ostream& err, const std::string& text) {
    err << "kavpack: warning: " << PrintableText(text) << "\n";
}

}  // namespace kav::app
