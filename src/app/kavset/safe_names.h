#pragma once
// Turning an entry's stored name into a path below the extraction
// directory that can never lead outside it nor name a device.
#include <string>
#include <string_view>

namespace kav::app {

struct SafeName {
    std::string relative;  // "\"-separated; empty when nothing usable is left
    bool changed = false;  // something was dropped or replaced
};

// Drops drive letters, leading separators, "." and ".." segments, segments
// of only dots and blanks and empty segments ("/" counts as a separator
// too); ":" and the characters Windows refuses in names ("?", "*", "<",
// ">", "|", '"' and control characters) become "_", and a segment that
// names a device (CON, NUL, COM1, ...) gets a leading "_". With `flat`,
// only the last segment is kept.
SafeName SafeRelativeName(const std::string& stored, bool flat);

// `text` fit for a terminal: control characters (a stored name may carry
// escape sequences that retitle or clear the screen) are shown as \xNN.
std::string PrintableText(std::string_view text);

}  // namespace kav::app
