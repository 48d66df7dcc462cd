#pragma once
// The program's text is in the Windows code page 1252, the page of the
// systems it was made for: bytes below 0x80 are ASCII and 0xA0 to 0xFF are
// the Latin-1 characters of the same numbers. In between the page has its
// own characters, and five bytes stand for none.
//
// The system itself speaks UTF-16 through its wide functions, whatever the
// language it is set to, so names and texts are converted here, at the
// edge, and nowhere else.
#include <optional>
#include <string>
#include <string_view>

#include "platform/errors.h"

namespace kav::platform {

// The characters of 0x80 to 0x9F, by byte - 0x80; 0 where the page has none.
inline constexpr char32_t kCodePage1252Upper[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

// A name the system gave (a folder, a registry value, a command line) that
// has characters outside the code page: the program cannot name it in its
// own text, and a substitute character would name another file.
class ENameOutsideCodePage : public EPlatformError {
public:
    using EPlatformError::EPlatformError;
};

// The byte of the character `c` in the page, if it has one. The five
// bytes the page leaves undefined answer for U+0081, U+008D, U+008F, U+0090
// and U+009D, so that a name the system gave comes back as it went.
std::optional<char> CodePage1252ByteOf(char32_t c);

// UTF-16 of code page 1252 text. Every byte has a form: the five the page
// leaves undefined become U+0081, U+008D, U+008F, U+0090 and U+009D, as the
// system's own conversion has them, so that the way back is lossless.
std::u16string Utf16FromCodePage1252(std::string_view text);

// Code page 1252 of UTF-16 text; nothing when a character has no form in
// the page (or the text is not well-formed UTF-16).
std::optional<std::string> CodePage1252FromUtf16(std::u16string_view text);

// Code page 1252 of UTF-16 text, with "?" for each character that has no
// form: for texts shown or logged, never for names.
std::string TextFromUtf16(std::u16string_view text);

// The same for a name the system gave: throws ENameOutsideCodePage, naming
// the name with "?" for each character that has no form, where it has none.
std::string NameFromUtf16(std::u16string_view name);

// Appends the UTF-8 form of `c`, a character of the Basic Multilingual
// Plane (all that code page 1252 holds).
void AppendUtf8(std::string& out, char32_t c);

}  // namespace kav::platform
