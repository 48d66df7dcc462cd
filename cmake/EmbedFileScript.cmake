# Writes OUT, a C++ source holding the bytes of IN as SYMBOL (see EmbedFile.cmake).
file(READ ${IN} hex HEX)
string(LENGTH "${hex}" digits)
math(EXPR size "${digits} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "(0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,)" "\\1\n  " bytes "${bytes}")
file(WRITE ${OUT} "// Generated from ${IN}; do not edit.\n#include <cstddef>\nnamespace kav::embedded {\nextern const unsigned char ${SYMBOL}[] = {\n  ${bytes}\n};\nextern const std::size_t ${SYMBOL}_size = ${size};\n}  // namespace kav::embedded\n")
