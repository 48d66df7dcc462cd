#include "platform/sim/host_names.h"

#include "platform/code_page_1252.h"

namespace kav::platform::sim {

namespace {

// UTF-16 of UTF-8 text; nothing when it is not well-formed (a stray
// continuation byte, an overlong or surrogate form, a cut sequence).
std::optional<std::u16string> Utf16OfUtf8(std::string_view text) {
    std::u16string out;
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
        if ((lead >= 0x80 && lead < 0xC2) || lead > 0xF4 || i + length > text.size()) {
            return std::nullopt;
        }
        char32_t c = length == 1 ? lead : lead & (0x7F >> length);
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) return std::nullopt;
            c = (c << 6) | (next & 0x3F);
        }
        static constexpr char32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
        if (c < kLeast[length] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
            return std::nullopt;
        }
        if (c >= 0x10000) {
            out += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
            out += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            out += static_cast<char16_t>(c);
        }
        i += length;
    }
    return out;
}

}  // namespace

std::string HostNameOf(std::string_view name) {
    std::string out;
    out.reserve(name.size());
    for (const char16_t c : Utf16FromCodePage1252(name)) AppendUtf8(out, c);
    return out;
}

std::optional<std::string> WindowsNameOfHost(std::string_view hostName) {
    const auto wide = Utf16OfUtf8(hostName);
    if (!wide) return std::nullopt;
    return CodePage1252FromUtf16(*wide);
}

std::string RequireWindowsNameOfHost(std::string_view hostName) {
    if (const auto wide = Utf16OfUtf8(hostName)) return NameFromUtf16(*wide);
    // A host name that is not UTF-8 is named with "?" for its other bytes.
    std::u16string shown;
    for (const char c : hostName)
        shown += static_cast<unsigned char>(c) < 0x80 ? static_cast<char16_t>(c) : u'\xFFFD';
    return NameFromUtf16(shown);
}

}  // namespace kav::platform::sim
