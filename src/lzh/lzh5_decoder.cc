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
constexpr unsigned kWindowSize = 8192;
constexpr int kNoSpecialPosition = -1;

constexpr unsigned kLongestMatch = 256;

using Bits = BitInput<ExhaustedSource::kStopAsking>;
using Window = OutputWindow<kWindowSize, kLongestMatch>;

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
                if (!DecodeFetchedSymbols(symbolsLeft, produced, count)) {
                    DecodeSymbol(produced);
                    --symbolsLeft;
                }
                // Some encoders end with a match longer than what remains;
                // the file ends at its size all the same. Taken back before
                // the block is written, so no byte beyond it is ever output.
                if (produced > count) {
                    window_.TakeBack(static_cast<std::size_t>(produced - count));
                    produced = count;
                }
                if (window_.BlockOverfull()) window_.WriteBlock(driver_);
            } while (symbolsLeft > 0 && produced < count);
        }
        window_.Finish(driver_);
    }

private:
    // The most bits one symbol takes: a character/length code, an offset
    // code and 12 extra offset bits.
    static_assert(2 * kMaxCodeLength + 12 <= 56);

    // Decodes symbols of the current block with the bit buffer, the input
    // and the output position held in registers, for as long as the driver
    // has fetched at least a word of input beyond what is held (so that no
    // source call is needed), the block is not overfull and the count is not
    // reached. Returns false when it stopped for want of fetched input, so
    // that the next symbol needs the byte-wise input.
    bool DecodeFetchedSymbols(std::uint32_t& symbolsLeft, std::int64_t& produced,
                              std::int32_t count) {
        Octet* out = window_.Position();
        Octet* const outStart = out;
        // One symbol's output may pass either limit.
        const Octet* limit = window_.BlockEnd() + 1;
        if (count - produced < limit - out) limit = out + (count - produced);
        const std::uint8_t* in = driver_.SourceBytes();
        const std::uint8_t* const inStart = in;
        // Once the source is exhausted only the byte-wise input may be used.
        const std::uint8_t* const inEnd =
            driver_.SourceExhausted() ? in : in + driver_.SourceBytesLeft();
        Bits::State bits = bits_.Save();
        std::uint32_t left = symbolsLeft;
        bool stalled = false;
        while (out < limit && left > 0) {
            if (inEnd - in < static_cast<std::ptrdiff_t>(sizeof(Bits::Word))) {
                stalled = true;
                break;
            }
            // At least 56 bits: the whole symbol.
            Bits::TopUp(bits, in);
            TableEntry entry = charLenTable_[bits.buffer >> (64 - kCharLenTableBits)];
            if (EntryValue(entry) <= 0xFF) {
                // A literal found in the table took at most 12 bits, which
                // leaves enough for the next symbol without a top-up.
                const unsigned literalLength = EntryLength(entry);
                bits.buffer <<= literalLength;
                bits.count -= literalLength;
                --left;
                *out++ = static_cast<Octet>(EntryValue(entry));
                if (out >= limit || left == 0) break;
                entry = charLenTable_[bits.buffer >> (64 - kCharLenTableBits)];
            }
            unsigned symbol = EntryValue(entry);
            unsigned codeLength = EntryLength(entry);
            if (symbol >= kCharLenSymbols) [[unlikely]] {
                symbol = WalkTree(symbol, kCharLenSymbols, static_cast<unsigned>(bits.buffer >> 48),
                                  1u << (15 - kCharLenTableBits));
                codeLength = charLenLengths_[symbol];
            }
            bits.buffer <<= codeLength;
            bits.count -= codeLength;
            --left;
            if (symbol <= 0xFF) {
                *out++ = static_cast<Octet>(symbol);
                continue;
            }
            const TableEntry offsetEntry = auxTable_[bits.buffer >> (64 - kAuxTableBits)];
            unsigned offsetSymbol = EntryValue(offsetEntry);
            codeLength = EntryLength(offsetEntry);
            if (offsetSymbol >= kOffsetSymbols) [[unlikely]] {
                offsetSymbol =
                    WalkTree(offsetSymbol, kOffsetSymbols, static_cast<unsigned>(bits.buffer >> 48),
                             1u << (15 - kAuxTableBits));
                codeLength = auxLengths_[offsetSymbol];
            }
            bits.buffer <<= codeLength;
            bits.count -= codeLength;
            // Offset 0 repeats the byte just written.
            unsigned distance = offsetSymbol + 1;
            if (offsetSymbol > 1) {
                const unsigned extraBits = offsetSymbol - 1;
                distance =
                    (1u << extraBits) + 1 + static_cast<unsigned>(bits.buffer >> (64 - extraBits));
                bits.buffer <<= extraBits;
                bits.count -= extraBits;
            }
            out = Window::CopyMatchAt(out, distance, symbol - Window::kLengthBias);
        }
        bits_.Restore(bits);
        driver_.SkipSourceBytes(static_cast<std::size_t>(in - inStart));
        window_.MoveTo(out);
        produced += out - outStart;
        symbolsLeft = left;
        return !stalled;
    }

    // One symbol through the byte-wise input, which refills the driver's
    // buffer and supplies zero bits once the source is exhausted.
    void DecodeSymbol(std::int64_t& produced) {
        // Offset 0 repeats the byte just written.
        produced += window_.PutSymbol(DecodeCharLen(), [this] { return DecodeOffset() + 1; });
    }

    unsigned DecodeCharLen() {
        const TableEntry entry = charLenTable_[bits_.Peek16() >> (16 - kCharLenTableBits)];
        unsigned symbol = EntryValue(entry);
        if (symbol < kCharLenSymbols) [[likely]] {
            bits_.Skip(EntryLength(entry));
            return symbol;
        }
        symbol = WalkTree(symbol, kCharLenSymbols, bits_.Peek16(), 1u << (15 - kCharLenTableBits));
        bits_.Skip(charLenLengths_[symbol]);
        return symbol;
    }

    unsigned DecodeOffset() {
        const TableEntry entry = auxTable_[bits_.Peek16() >> (16 - kAuxTableBits)];
        unsigned symbol = EntryValue(entry);
        if (symbol < kOffsetSymbols) [[likely]] {
            bits_.Skip(EntryLength(entry));
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
            unsigned symbol = EntryValue(auxTable_[bits_.Peek16() >> (16 - kAuxTableBits)]);
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
    Window window_;
};

}  // namespace

void DecodeLZH5(CodecDriver& driver, std::int32_t count) {
    if (count == 0) return;
    const auto decoder = std::make_unique<Lzh5Decoder>(driver);
    decoder->Decode(count);
}

}  // namespace kav::lzh
