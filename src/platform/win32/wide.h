#pragma once
// The program's text (code page 1252) as the system's wide functions take
// it, and back. Every call to the system goes through these, so that names
// reach it intact whatever code page the system is set to.
#include <string>
#include <string_view>

#include "platform/code_page_1252.h"

namespace kav::platform {

inline std::wstring Wide(std::string_view text) {
    const std::u16string wide = Utf16FromCodePage1252(text);
    return std::wstring(wide.begin(), wide.end());
}

// A name the system gave: refused (ENameOutsideCodePage) where it has no
// code page 1252 form, since any substitute would name another file or key.
inline std::string NameFromWide(std::wstring_view name) {
    return NameFromUtf16(std::u16string(name.begin(), name.end()));
}

// The code page 1252 form of a name, if it has one.
inline std::optional<std::string> OptionalNameFromWide(std::wstring_view name) {
    return CodePage1252FromUtf16(std::u16string(name.begin(), name.end()));
}

// A text to show or log: "?" for each character without a form.
inline std::string TextFromWide(std::wstring_view text) {
    return TextFromUtf16(std::u16string(text.begin(), text.end()));
}

}  // namespace kav::platform
