#pragma once
// The program's text is in the Windows code page 1252, the page of the
// systems it was made for: bytes below 0x80 are ASCII and 0xA0 to 0xFF are
// the Latin-1 characters of the same numbers. In between the page has its
// own characters, and five bytes stand for none.
namespace kav::platform {

// The characters of 0x80 to 0x9F, by byte - 0x80; 0 where the page has none.
inline constexpr char32_t kCodePage1252Upper[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

}  // namespace kav::platform
