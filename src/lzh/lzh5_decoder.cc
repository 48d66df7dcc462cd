#include "lzh/lzh5_decoder.h"

#include <algorithm>
#include <array>
#include <memory>

#include "lzh/bit_input.h"
#include "lzh/decode_table.h"
#include "lzh/output_window.h"

namespace kav::lzh {

namespace {

constexpr unsigned kCharLenSymbols = 510;  // 256 literals + match lengths 3..256
constexpr unsigned kCodeLenSymbols = 19;
constexpr unsigned kOffsetSymbols = 14;
constexpr unsigned kAuxMaxSymbols = kCodeLenSymbols;
constexpr unsigned kCharLenTableBits = 12;
constexpr unsigned kAuxTableBits = 8;
constexpr unsigned kLengthBias = 253;  // match length = symbol - 253
constexpr unsigned kWindowSize = 8192;
constexpr int kNoSpecialPosition = -1;

using Bits = BitInput<ExhaustedSource::kStopAsking>;

constexpr unsigned kLongestMatch = 256;

class Lzh5Decoder {
public:
    explicit Lzh5Decoder(CodecDriver& driver) : driver_(driver), bits_(driver) {}

    void Decode(std::int32_t count) {
        // 64 bits: a final match may carry the count past 2^31 - 1.
        std::int64_t produced = 0;
        while (produced < count) {
            // A header's size 0 stands for 65536 symbols.
            std::uint32_t symbolsLeft = ReadBlockHeader();
            if (symbolsLeft == 0) symbolsLeft = 0x10000;
            do {
                const unsigned symbol = DecodeCharLen();
                if (symbol <= 0xFF) {
                    window_.PutLiteral(static_cast<std::uint8_t>(symbol));
                    ++produced;
                } else {
                    const unsigned length = symbol - kLengthBias;
                    // Offset 0 repeats the byte just written.
                    window_.CopyMatch(DecodeOffset() + 1, length);
                    produced += length;
                }
                if (window_.BlockOverfull()) window_.WriteBlock(driver_);
            } while (--symbolsLeft > 0 && produced < count);
        }
        window_.Finish(driver_);
    }

private:
    unsigned DecodeCharLen() {
        const TableEntry entry = charLenTable_[bits_.Peek16() >> (16 - kCharLenTableBits)];
        unsigned symbol = entry & kEntryValueMask;
        if (symbol < kCharLenSymbols) [[likely]] {
            bits_.Skip(entry >> kEntryLengthShift);
            return symbol;
        }
        symbol = WalkTree(symbol, kCharLenSymbols, bits_.Peek16(), 1u << (15 - kCharLenTableBits));
        bits_.Skip(charLenLengths_[symbol]);
        return symbol;
    }

    unsigned DecodeOffset() {
        const TableEntry entry = auxTable_[bits_.Peek16() >> (16 - kAuxTableBits)];
        unsigned symbol = entry & kEntryValueMask;
        if (symbol < kOffsetSymbols) [[likely]] {
            bits_.Skip(entry >> kEntryLengthShift);
        } else {
            symbol = WalkTree(symbol, kOffsetSymbols, bits_.Peek16(), 1u << (15 - kAuxTableBits));
            bits_.Skip(auxLengths_[symbol]);
        }
        if (symbol <= 1) return symbol;
        return (1u << (symbol - 1)) + bits_.Get(symbol - 1);
    }

    // Follows the overflow tree from `node` by the bits of `code` below the
    // table's width. Tables are only built from complete codes, so every
    // node on the way exists and the walk ends at a symbol within 16 bits.
    unsigned WalkTree(unsigned node, unsigned symbols, unsigned code, unsigned mask) const {
        while (node >= symbols) {
            node = (code & mask) ? tree_.right[node] : tree_.left[node];
            mask >>= 1;
        }
        return node;
    }

    // Reads the tables of the next block and returns its size field.
    unsigned ReadBlockHeader() {
        const unsigned blockSize = bits_.Get(16);
        ReadAuxLengths(kCodeLenSymbols, 5, 3);
        ReadCharLenLengths();
        ReadAuxLengths(kOffsetSymbols, 4, kNoSpecialPosition);
        return blockSize;
    }

    void ReadAuxLengths(unsigned symbols, unsigned countBits, int special) {
        const unsigned n = bits_.Get(countBits);
        if (n == 0) {
            const unsigned value = bits_.Get(countBits);
            if (value >= symbols) throw ELZHBadDecodeTable();
            std::fill_n(auxLengths_.begin(), symbols, 0);
            auxTable_.fill(MakeTableEntry(value, 0));
            return;
        }
        if (n > symbols) throw ELZHBadDecodeTable();
        unsigned i = 0;
        while (i < n) {
            unsigned length = bits_.Peek16() >> 13;
            if (length == 7) {
                // Lengths of 7 and more continue in unary: one more per 1-bit.
                unsigned mask = 1u << 12;
                while (bits_.Peek16() & mask) {
                    mask >>= 1;
                    ++length;
                }
                if (length > kMaxCodeLength) throw ELZHBadDecodeTable();
                bits_.Skip(length - 3);
            } else {
                bits_.Skip(3);
            }
            auxLengths_[i++] = static_cast<std::uint8_t>(length);
            if (static_cast<int>(i) == special) {
                // At most 3 zeros after the third entry: stays within 19.
                for (unsigned z = bits_.Get(2); z > 0; --z) auxLengths_[i++] = 0;
            }
        }
        std::fill(auxLengths_.begin() + i, auxLengths_.begin() + symbols, 0);
        MakeDecodeTable(std::span(auxLengths_.data(), symbols), kAuxTableBits, auxTable_, tree_);
    }

    void ReadCharLenLengths() {
        const unsigned n = bits_.Get(9);
        if (n == 0) {
            const unsigned value = bits_.Get(9);
            if (value >= kCharLenSymbols) throw ELZHBadDecodeTable();
            charLenLengths_.fill(0);
            charLenTable_.fill(MakeTableEntry(value, 0));
            return;
        }
        if (n > kCharLenSymbols) throw ELZHBadDecodeTable();
        unsigned i = 0;
        while (i < n) {
            unsigned symbol = auxTable_[bits_.Peek16() >> (16 - kAuxTableBits)] & kEntryValueMask;
            if (symbol >= kCodeLenSymbols) {
                symbol =
                    WalkTree(symbol, kCodeLenSymbols, bits_.Peek16(), 1u << (15 - kAuxTableBits));
            }
            bits_.Skip(auxLengths_[symbol]);
            if (symbol >= 3) {
                charLenLengths_[i++] = static_cast<std::uint8_t>(symbol - 2);
                continue;
            }
            unsigned zeros = 1;
            if (symbol == 1) zeros = bits_.Get(4) + 3;
            if (symbol == 2) zeros = bits_.Get(9) + 20;
            if (zeros > kCharLenSymbols - i) throw ELZHBadDecodeTable();
            std::fill_n(charLenLengths_.begin() + i, zeros, 0);
            i += zeros;
        }
        std::fill(charLenLengths_.begin() + i, charLenLengths_.end(), 0);
        MakeDecodeTable(charLenLengths_, kCharLenTableBits, charLenTable_, tree_);
    }

    CodecDriver& driver_;
    Bits bits_;
    std::array<std::uint8_t, kCharLenSymbols> charLenLengths_{};
    std::array<TableEntry, 1u << kCharLenTableBits> charLenTable_{};
    std::array<std::uint8_t, kAuxMaxSymbols> auxLengths_{};
    std::array<TableEntry, 1u << kAuxTableBits> auxTable_{};
    DecodeTree tree_{};
    OutputWindow<kWindowSize, kLongestMatch> window_;
};

}  // namespace

void DecodeLZH5(CodecDriver& driver, std::int32_t count) {
    if (count == 0) return;
    const auto decoder = std::make_unique<Lzh5Decoder>(driver);
    decoder->Decode(count);
}

}  // namespace kav::lzh
