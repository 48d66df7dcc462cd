#include "app/kavsetup/escaping_output.h"

#include <cstdio>

namespace kav::app {

bool EscapingBuffer::Passes(unsigned char byte) {
    const bool continuation = byte >= 0x80 && byte <= 0xBF;
    if (continuation && pending_ > 0) {
        // U+0080 to U+009F, the C1 controls, are C2 80 to C2 9F in UTF-8:
        // a terminal reads them as controls (C2 9B is CSI).
        const bool c1 = afterC2_ && byte <= 0x9F;
        afterC2_ = false;
        --pending_;
        if (c1) pending_ = 0;
        return !c1;
    }
    afterC2_ = byte == 0xC2;
    pending_ = byte >= 0xC2 && byte <= 0xDF   ? 1
               : byte >= 0xE0 && byte <= 0xEF ? 2
               : byte >= 0xF0 && byte <= 0xF4 ? 3
                                              : 0;
    // A byte 80 to 9F outside a UTF-8 character is a C1 control to an
    // 8-bit terminal (9B is CSI); set text in code page 1252 holds them.
    if (byte >= 0x80 && byte <= 0x9F) return false;
    return byte >= 0x20 ? byte != 0x7F : byte == '\n' || byte == '\t';
}

EscapingBuffer::int_type EscapingBuffer::overflow(int_type c) {
    if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
    const auto byte = static_cast<unsigned char>(traits_type::to_char_type(c));
    if (Passes(byte)) {
        return traits_type::eq_int_type(next_->sputc(static_cast<char>(byte)), traits_type::eof())
                   ? traits_type::eof()
                   : c;
    }
    char escaped[8];
    const int length = std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
    return next_->sputn(escaped, length) == length ? c : traits_type::eof();
}

}  // namespace kav::app
