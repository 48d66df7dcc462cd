#pragma once
// Turning an entry's stored name into a path below the extraction
// directory that can never lead outside it.
#include <string>

namespace kav::app {

struct SafeName {
    std::string relative;  // "\"-separated; empty when nothing usable is left
    bool changed = false;  // a drive, a leading separator, ".." or ":" was dropped
};

// Drops drive letters, leading separators, "." and ".." segments and empty
// segments ("/" counts as a separator too); ":" inside a segment becomes
// "_". With `flat`, only the last segment is kept.
SafeName SafeRelativeName(const std::string& stored, bool flat);

}  // namespace kav::app
