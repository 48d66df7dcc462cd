#pragma once
// Greedy and one-step lazy match selection over a MatchWindow, shared by
// the LZ encoders: a match is put off by one byte when the next position
// starts a longer one.
#include <algorithm>
#include <cstdint>

#include "pack/match_window.h"

namespace kav::pack {

struct SearchLimits {
    unsigned maxChain;    // hash chain links followed per search
    unsigned niceLength;  // a match this long is taken at once
    // Only matches shorter than this are put off for a longer one at the
    // next position (0: never).
    unsigned lazyLength;
    // Shortest-length matches further back than this are not worth their
    // position bits; 0 keeps them all.
    unsigned farForShortMatch;
};

// Codes the window's input up to `end` (matches may run past it) through
// literal(byte) and match(length, distance).
template <typename Window, typename Literal, typename Copy>
void ParseLazily(Window& window, std::uint32_t end, const SearchLimits& limits, Literal&& literal,
                 Copy&& match) {
    auto find = [&](std::uint32_t position) {
        const unsigned room = static_cast<unsigned>(
            std::min<std::size_t>(Window::kMaxMatch, window.End() - position));
        Match m = window.Longest(position, room, limits.maxChain, limits.niceLength);
        if (m.length == Window::kMinMatch && limits.farForShortMatch != 0 &&
            m.distance > limits.farForShortMatch) {
            m = {};
        }
        return m;
    };
    Match current;
    bool searched = false;  // `current` is the match at the position, entered
    while (window.Position() < end) {
        const std::uint32_t p = window.Position();
        if (!searched) {
            current = find(p);
            window.Insert(p);
        }
        searched = false;
        if (current.length < Window::kMinMatch) {
            literal(*window.At(p));
            window.Advance(1);
            continue;
        }
        std::uint32_t entered = p + 1;
        if (current.length < limits.lazyLength && p + 1 < end) {
            const Match next = find(p + 1);
            window.Insert(p + 1);
            entered = p + 2;
            if (next.length > current.length) {
                literal(*window.At(p));
                window.Advance(1);
                current = next;
                searched = true;
                continue;
            }
        }
        match(current.length, current.distance);
        for (std::uint32_t q = entered; q < p + current.length; ++q) window.Insert(q);
        window.Advance(current.length);
    }
}

}  // namespace kav::pack
