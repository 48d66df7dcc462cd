#pragma once
// The input of an LZ encoder and its match finder: the bytes still to be
// coded plus the window behind them, with hash chains over 3-byte prefixes.
// Input arrives in pieces; the buffer keeps `Window` bytes of history
// before the coding position, so memory stays fixed whatever the input
// size. Positions are absolute offsets in the input.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

namespace kav::pack {

struct Match {
    unsigned length = 0;
    unsigned distance = 0;  // 1..Window
};

template <unsigned Window, unsigned MaxMatch>
class MatchWindow {
public:
    static_assert((Window & (Window - 1)) == 0, "chain slots wrap with a mask");
    static constexpr unsigned kMinMatch = 3;
    static constexpr unsigned kWindow = Window;
    static constexpr unsigned kMaxMatch = MaxMatch;
    // Input coded in one go; a chunk also needs MaxMatch bytes after it.
    static constexpr std::size_t kChunk = 1u << 16;

    MatchWindow() : head_(kHashSize, kNone), chain_(Window, kNone) {}

    // Takes as much of `data` as fits; returns the count taken.
    std::size_t Append(const std::uint8_t* data, std::size_t size) {
        if (filled_ == Capacity()) Slide();
        const std::size_t take = std::min(size, Capacity() - filled_);
        // The buffer grows with the input, so that small inputs stay cheap.
        if (bytes_.size() < filled_ + take + kSpare) {
            bytes_.resize(std::max(filled_ + take, std::min(Capacity(), 2 * filled_)) + kSpare);
        }
        std::memcpy(bytes_.data() + filled_, data, take);
        filled_ += take;
        return take;
    }

    // Appends `data` and calls code(end) for every chunk that has enough
    // input after it for the longest match; code(end) must advance the
    // position to at least `end`.
    template <typename CodeChunk>
    void Feed(const std::uint8_t* data, std::size_t size, CodeChunk&& code) {
        while (size > 0) {
            const std::size_t taken = Append(data, size);
            data += taken;
            size -= taken;
            while (Lookahead() >= kChunk + MaxMatch) code(position_ + kChunk);
        }
    }

    // Codes whatever input is left, in chunks.
    template <typename CodeChunk>
    void Drain(CodeChunk&& code) {
        while (Lookahead() > 0) {
            code(position_ +
                 static_cast<std::uint32_t>(std::min<std::size_t>(Lookahead(), kChunk)));
        }
    }

    std::uint32_t Position() const { return position_; }
    std::uint32_t End() const { return base_ + static_cast<std::uint32_t>(filled_); }
    std::size_t Lookahead() const { return End() - position_; }
    void Advance(unsigned count) { position_ += count; }
    const std::uint8_t* At(std::uint32_t position) const {
        return bytes_.data() + (position - base_);
    }

    // Enters `position` into its hash chain; positions less than three
    // bytes before the end are left out, as no match can start there.
    void Insert(std::uint32_t position) {
        if (position + kMinMatch > End()) return;
        const unsigned h = Hash(At(position));
        chain_[position & (Window - 1)] = head_[h];
        head_[h] = position;
    }

    // Calls visit(length, distance) for every match at `position` that is
    // longer than all found before it (nearest first), up to `maxLength`
    // bytes, following at most `maxChain` links. Stops at the first match of
    // `niceLength` or more. Call before Insert(position).
    template <typename Visit>
    void ForEachLonger(std::uint32_t position, unsigned maxLength, unsigned maxChain,
                       unsigned niceLength, Visit&& visit) const {
        if (maxLength < kMinMatch || position + kMinMatch > End()) return;
        const std::uint8_t* here = At(position);
        std::uint32_t candidate = head_[Hash(here)];
        unsigned best = kMinMatch - 1;
        for (unsigned links = 0; links < maxChain && candidate != kNone; ++links) {
            const std::uint32_t distance = position - candidate;
            if (candidate >= position || distance > Window) break;
            const std::uint8_t* there = At(candidate);
            if (there[best] == here[best]) {
                const unsigned length = CommonLength(here, there, maxLength);
                if (length > best) {
                    best = length;
                    visit(length, distance);
                    if (length >= niceLength || length >= maxLength) return;
                }
            }
            candidate = chain_[candidate & (Window - 1)];
        }
    }

    Match Longest(std::uint32_t position, unsigned maxLength, unsigned maxChain,
                  unsigned niceLength) const {
        Match found;
        ForEachLonger(position, maxLength, maxChain, niceLength,
                      [&](unsigned length, unsigned distance) {
                          found = {length, distance};
                      });
        return found;
    }

private:
    static constexpr unsigned kHashBits = 15;
    static constexpr unsigned kHashSize = 1u << kHashBits;
    static constexpr std::uint32_t kNone = 0xFFFFFFFFu;
    // Bytes past the end that word-wise compares may load.
    static constexpr std::size_t kSpare = 8;

    static unsigned Hash(const std::uint8_t* p) {
        const std::uint32_t v = p[0] | (p[1] << 8) | (p[2] << 16);
        return (v * 2654435761u) >> (32 - kHashBits);
    }

    static unsigned CommonLength(const std::uint8_t* a, const std::uint8_t* b, unsigned limit) {
        unsigned n = 0;
        while (n + 8 <= limit) {
            std::uint64_t x, y;
            std::memcpy(&x, a + n, 8);
            std::memcpy(&y, b + n, 8);
            if (x != y) {
                while (a[n] == b[n]) ++n;
                return n;
            }
            n += 8;
        }
        while (n < limit && a[n] == b[n]) ++n;
        return n;
    }

    static constexpr std::size_t Capacity() { return Window + kChunk + MaxMatch; }

    // Drops what lies more than a window behind the coding position.
    void Slide() {
        const std::uint32_t keepFrom = position_ > base_ + Window ? position_ - Window : base_;
        const std::size_t drop = keepFrom - base_;
        std::memmove(bytes_.data(), bytes_.data() + drop, filled_ - drop);
        filled_ -= drop;
        base_ = keepFrom;
    }

    std::vector<std::uint8_t> bytes_;
    std::vector<std::uint32_t> head_;
    std::vector<std::uint32_t> chain_;
    std::uint32_t base_ = 0;  // input position of bytes_[0]
    std::size_t filled_ = 0;
    std::uint32_t position_ = 0;
};

}  // namespace kav::pack
