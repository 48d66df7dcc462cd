#include "app/kavsetup/escaping_output.h"

#include <cstdio>

namespace kav::app {

EscapingBuffer::int_type EscapingBuffer::overflow(int_type c) {
    if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
    const auto byte = static_cast<unsigned char>(traits_type::to_char_type(c));
    if ((byte >= 0x20 && byte != 0x7F) || byte == '\n' || byte == '\t') {
        return traits_type::eq_int_type(next_->sputc(static_cast<char>(byte)), traits_type::eof())
                   ? traits_type::eof()
                   : c;
    }
    char escaped[8];
    const int length = std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
    return next_->sputn(escaped, length) == length ? c : traits_type::eof();
}

}  // namespace kav::app
