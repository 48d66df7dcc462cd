#include "platform/code_page_1252.h"

namespace kav::platform {
namespace {

char16_t CharacterOf(unsigned char byte) {
    if (byte < 0x80 || byte >= 0xA0) return byte;
    const char32_t c = kCodePage1252Upper[byte - 0x80];
    return c != 0 ? static_cast<char16_t>(c) : byte;
}

}  // namespace

std::optional<char> CodePage1252ByteOf(char32_t c) {
    if (c < 0x80 || c >= 0xA0) {
        if (c <= 0xFF) return static_cast<char>(c);
    } else if (kCodePage1252Upper[c - 0x80] == 0) {
        return static_cast<char>(c);  // one of the five undefined bytes
    }
    for (unsigned i = 0; i < 32; ++i) {
        if (kCodePage1252Upper[i] == c) return static_cast<char>(0x80 + i);
    }
    return std::nullopt;
}

std::u16string Utf16FromCodePage1252(std::string_view text) {
    std::u16string out;
    out.reserve(text.size());
    for (const char c : text) out += CharacterOf(static_cast<unsigned char>(c));
    return out;
}

std::optional<std::string> CodePage1252FromUtf16(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char16_t c : text) {
        const auto byte = CodePage1252ByteOf(c);
        if (!byte) return std::nullopt;
        out += *byte;
    }
    return out;
}

std::string TextFromUtf16(std::u16string_view text) {
    std::string shown;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = CodePage1252ByteOf(text[i]);
        shown += byte ? *byte : '?';
        // A character beyond U+FFFF is one "?", not two.
        const bool highSurrogate = text[i] >= 0xD800 && text[i] <= 0xDBFF;
        if (highSurrogate && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF)
            ++i;
    }
    return shown;
}

std::string NameFromUtf16(std::u16string_view name) {
    if (auto text = CodePage1252FromUtf16(name)) return *text;
    throw ENameOutsideCodePage("The name " + TextFromUtf16(name) +
                               " has characters that setup cannot write in the Windows code page "
                               "1252: setup stops rather than use another name.");
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

}  // namespace kav::platform
