#pragma once
// Case folding of the ASCII letters only. Windows compares names without
// regard to case; the letters above 0x7F depend on the code page, so no
// byte outside 'a'-'z' and 'A'-'Z' is ever changed here.
#include <cstdint>
#include <string>
#include <string_view>

namespace kav::base {

std::string AsciiLower(std::string_view text);
std::string AsciiUpper(std::string_view text);
bool SameTextIgnoringAsciiCase(std::string_view a, std::string_view b);
// A hash (64-bit FNV-1a) of the text with its ASCII letters in upper case:
// texts the same but for ASCII case hash alike.
std::uint64_t HashIgnoringAsciiCase(std::string_view text);

}  // namespace kav::base
