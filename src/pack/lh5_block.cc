#include "pack/lh5_block.h"

#include <array>

#include "pack/huffman_code.h"

namespace kav::pack {
namespace {

constexpr unsigned kCodeLengthSymbols = 19;
constexpr unsigned kCodeLengthCountBits = 5;
constexpr unsigned kCharLenCountBits = 9;
constexpr unsigned kOffsetCountBits = 4;
// After the third code-length entry the decoder reads a 2-bit count of
// further zero entries.
constexpr int kCodeLengthSpecial = 3;
constexpr int kNoSpecial = -1;

Lh5Frequencies Count(std::span<const Lh5Token> tokens) {
    Lh5Frequencies f;
    for (const auto& t : tokens) f.Add(t);
    return f;
}

// One item of the coded character/length list: a code-length symbol and
// the extra bits that follow it.
struct LengthListItem {
    std::uint8_t symbol;
    std::uint8_t extraBits;
    std::uint16_t extra;
};

// The character/length code lengths as the code-length alphabet carries
// them: 0 = one zero, 1 + 4 bits = 3..18 zeros, 2 + 9 bits = 20..531
// zeros, 3..18 = a length of 1..16.
std::vector<LengthListItem> CharLenList(std::span<const std::uint8_t> lengths, unsigned count) {
    std::vector<LengthListItem> items;
    for (unsigned i = 0; i < count;) {
        if (lengths[i] != 0) {
            items.push_back({static_cast<std::uint8_t>(lengths[i] + 2), 0, 0});
            ++i;
            continue;
        }
        unsigned run = 0;
        while (i + run < count && lengths[i + run] == 0) ++run;
        i += run;
        if (run <= 2) {
            for (unsigned k = 0; k < run; ++k) items.push_back({0, 0, 0});
        } else if (run <= 18) {
            items.push_back({1, 4, static_cast<std::uint16_t>(run - 3)});
        } else if (run == 19) {
            items.push_back({0, 0, 0});
            items.push_back({1, 4, 15});
        } else {
            items.push_back({2, 9, static_cast<std::uint16_t>(run - 20)});
        }
    }
    return items;
}

unsigned SentCount(std::span<const std::uint8_t> lengths) {
    unsigned n = static_cast<unsigned>(lengths.size());
    while (n > 0 && lengths[n - 1] == 0) --n;
    return n;
}

// Lengths of an auxiliary alphabet: 3 bits for 0..6, else 7 as 3 bits
// followed by (length - 7) one bits and a zero bit.
template <typename Bits>
void WriteAuxLengths(Bits& bits, std::span<const std::uint8_t> lengths, unsigned countBits,
                     int special) {
    const unsigned n = SentCount(lengths);
    bits.Put(countBits, n);
    for (unsigned i = 0; i < n;) {
        const unsigned length = lengths[i++];
        if (length <= 6) {
            bits.Put(3, length);
        } else {
            bits.Put(3, 7);
            for (unsigned k = 7; k < length; ++k) bits.Put(1, 1);
            bits.Put(1, 0);
        }
        if (static_cast<int>(i) == special) {
            unsigned zeros = 0;
            while (i + zeros < 6 && (i + zeros >= n || lengths[i + zeros] == 0)) ++zeros;
            bits.Put(2, zeros);
            i += zeros;
        }
    }
}

// A table with at most one used symbol goes as count 0 and that symbol:
// the decoder then yields it without reading any bits.
template <typename Bits>
void WriteSingle(Bits& bits, unsigned countBits, unsigned symbol) {
    bits.Put(countBits, 0);
    bits.Put(countBits, symbol);
}

struct Code {
    std::vector<std::uint8_t> lengths;
    std::vector<std::uint16_t> codes;
};

Code MakeCode(std::span<const std::uint32_t> frequencies) {
    Code c;
    c.lengths = CodeLengths(frequencies);
    c.codes = CanonicalCodes(c.lengths);
    return c;
}

// Counts the bits of what it is given instead of writing them.
struct BitCounter {
    std::uint64_t bits = 0;
    void Put(unsigned count, std::uint32_t) { bits += count; }
};

struct BlockCodes {
    Code charLen;
    Code offset;
};

// Writes the block size and the code tables, and returns the codes of the
// symbols that follow them.
template <typename Bits>
BlockCodes WriteHead(Bits& bits, const Lh5Frequencies& f) {
    bits.Put(16, f.symbols);

    BlockCodes codes{MakeCode(f.charLen), MakeCode(f.offset)};
    const UsedSymbols charLenUsed = CountUsed(f.charLen);
    if (charLenUsed.count <= 1) {
        WriteSingle(bits, kCodeLengthCountBits, 0);
        WriteSingle(bits, kCharLenCountBits, charLenUsed.last);
    } else {
        const unsigned sent = SentCount(codes.charLen.lengths);
        const auto items = CharLenList(codes.charLen.lengths, sent);
        std::array<std::uint32_t, kCodeLengthSymbols> itemFrequencies{};
        for (const auto& item : items) ++itemFrequencies[item.symbol];
        const UsedSymbols itemUsed = CountUsed(itemFrequencies);
        const Code itemCode = MakeCode(itemFrequencies);
        if (itemUsed.count <= 1) {
            WriteSingle(bits, kCodeLengthCountBits, itemUsed.last);
        } else {
            WriteAuxLengths(bits, itemCode.lengths, kCodeLengthCountBits, kCodeLengthSpecial);
        }
        bits.Put(kCharLenCountBits, sent);
        for (const auto& item : items) {
            bits.Put(itemCode.lengths[item.symbol], itemCode.codes[item.symbol]);
            bits.Put(item.extraBits, item.extra);
        }
    }

    const UsedSymbols offsetUsed = CountUsed(f.offset);
    if (offsetUsed.count <= 1) {
        WriteSingle(bits, kOffsetCountBits, offsetUsed.last);
    } else {
        WriteAuxLengths(bits, codes.offset.lengths, kOffsetCountBits, kNoSpecial);
    }
    return codes;
}

}  // namespace

void Lh5Frequencies::Add(Lh5Token token) {
    ++symbols;
    ++charLen[token.symbol];
    if (token.IsMatch()) ++offset[OffsetSymbol(token.offset)];
}

Lh5Frequencies& Lh5Frequencies::operator-=(const Lh5Frequencies& other) {
    symbols -= other.symbols;
    for (unsigned s = 0; s < kLh5CharLenSymbols; ++s) charLen[s] -= other.charLen[s];
    for (unsigned s = 0; s < kLh5OffsetSymbols; ++s) offset[s] -= other.offset[s];
    return *this;
}

std::uint64_t Lh5BlockBits(const Lh5Frequencies& f) {
    BitCounter counter;
    const BlockCodes codes = WriteHead(counter, f);
    std::uint64_t bits = counter.bits;
    for (unsigned s = 0; s < kLh5CharLenSymbols; ++s) {
        bits += std::uint64_t{f.charLen[s]} * codes.charLen.lengths[s];
    }
    for (unsigned s = 0; s < kLh5OffsetSymbols; ++s) {
        bits += std::uint64_t{f.offset[s]} * (codes.offset.lengths[s] + (s > 1 ? s - 1 : 0));
    }
    return bits;
}

Lh5CodeLengths Lh5LengthsFor(std::span<const Lh5Token> tokens) {
    const Lh5Frequencies f = Count(tokens);
    return {CodeLengths(f.charLen), CodeLengths(f.offset)};
}

void WriteLh5Block(BitWriter& bits, std::span<const Lh5Token> tokens) {
    const BlockCodes codes = WriteHead(bits, Count(tokens));
    for (const auto& t : tokens) {
        bits.Put(codes.charLen.lengths[t.symbol], codes.charLen.codes[t.symbol]);
        if (t.IsMatch()) {
            const unsigned symbol = OffsetSymbol(t.offset);
            bits.Put(codes.offset.lengths[symbol], codes.offset.codes[symbol]);
            if (symbol > 1) bits.Put(symbol - 1, t.offset);
        }
    }
}

}  // namespace kav::pack
