#pragma once
// The field splitter of the script's list entries ("~"-separated fields).
#include <string>

namespace kav::base {

// Takes the text before the first `delimiter` out of `source` into `field`,
// leaving the rest in `source`. Without a delimiter the field is the whole
// source and the source stays as it is, so reading past the last field
// repeats it.
void TakeField(std::string& source, const std::string& delimiter, std::string& field);

}  // namespace kav::base
