#include "lzh/adaptive_model.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace kav::lzh {

AdaptiveModel::AdaptiveModel() {
    for (unsigned s = 0; s < kSymbols; ++s) {
        weight_[s] = 1;
        child_[s] = static_cast<std::uint16_t>(s + kNodes);
        parent_[s + kNodes] = static_cast<std::uint16_t>(s);
    }
    for (unsigned i = 0, j = kSymbols; j < kNodes; i += 2, ++j) {
        weight_[j] = static_cast<std::uint16_t>(weight_[i] + weight_[i + 1]);
        child_[j] = static_cast<std::uint16_t>(i);
        parent_[i] = parent_[i + 1] = static_cast<std::uint16_t>(j);
    }
    std::fill(weight_.begin() + kNodes, weight_.end(), std::uint16_t{0xFFFF});
    parent_[kRoot] = 0;
}

void AdaptiveModel::Update(unsigned symbol) {
    if (weight_[kRoot] == kRebuildWeight) Rebuild();
    IncrementUpFrom(parent_[symbol + kNodes]);
}

void AdaptiveModel::IncrementUpFrom(unsigned x) {
    // The root's parent entry is 0, which ends the walk after the root; node
    // 0 itself is a leaf, so the first step always runs.
    do {
        x = parent_[Increment(x)];
    } while (x != 0);
}

void AdaptiveModel::MakeTopStep(TopStep& step, unsigned topBits) {
    // The root's child changes only when the tree is rebuilt.
    unsigned node = child_[kRoot];
    unsigned used = 0;
    while (node < kNodes && used < kTopBits) {
        ++used;
        const unsigned rest = kTopBits - used;
        const unsigned position = node + ((topBits >> rest) & 1);
        step.path[used - 1] = static_cast<std::uint16_t>(position);
        passedFirst_[position] = static_cast<std::uint16_t>(topBits >> rest << rest);
        passedCount_[position] = static_cast<std::uint16_t>(1u << rest);
        node = child_[position];
    }
    step.node = static_cast<std::uint16_t>(node);
    step.bits = static_cast<std::uint8_t>(used);
    step.made = true;
}

void AdaptiveModel::ForgetTopSteps() {
    for (auto& step : topSteps_) step.made = false;
    passedCount_.fill(0);
}

static_assert(std::endian::native == std::endian::little, "the run scan reads weights as words");

unsigned AdaptiveModel::MoveBehindLighter(unsigned x, std::uint16_t k) {
    // The nodes from x + 1 to l all weigh k - 1, as x did: weights never
    // decrease along the index. l ends that run, found four weights at a
    // time (the lanes of a little-endian word are in index order; the
    // sentinel and its padding end every run).
    const std::uint64_t run = 0x0001000100010001ull * static_cast<std::uint16_t>(k - 1);
    unsigned next = x + 2;
    for (;;) {
        std::uint64_t four;
        std::memcpy(&four, &weight_[next], sizeof four);
        if (const std::uint64_t other = four ^ run; other != 0) {
            next += static_cast<unsigned>(std::countr_zero(other)) / 16;
            break;
        }
        next += 4;
    }
    const unsigned l = next - 1;
    weight_[x] = weight_[l];
    weight_[l] = k;
    const unsigned i = child_[x];
    parent_[i] = static_cast<std::uint16_t>(l);
    if (i < kNodes) parent_[i + 1] = static_cast<std::uint16_t>(l);
    const unsigned j = child_[l];
    child_[l] = static_cast<std::uint16_t>(i);
    parent_[j] = static_cast<std::uint16_t>(x);
    if (j < kNodes) parent_[j + 1] = static_cast<std::uint16_t>(x);
    child_[x] = static_cast<std::uint16_t>(j);
    FollowMovedChildren(x);
    FollowMovedChildren(l);
    return l;
}

std::string AdaptiveModel::CodeOf(unsigned symbol) const {
    std::string reversed;
    for (unsigned node = parent_[symbol + kNodes]; node != kRoot; node = parent_[node]) {
        // The children of an inner node sit side by side; the second is 1.
        reversed += (node == child_[parent_[node]]) ? '0' : '1';
    }
    return {reversed.rbegin(), reversed.rend()};
}

void AdaptiveModel::Rebuild() {
    ForgetTopSteps();
    // Keep the leaves in node order with their weights halved, rounding up.
    unsigned j = 0;
    for (unsigned i = 0; i < kNodes; ++i) {
        if (child_[i] >= kNodes) {
            weight_[j] = static_cast<std::uint16_t>((weight_[i] + 1) / 2);
            child_[j] = child_[i];
            ++j;
        }
    }
    // Pair them up again, inserting every new inner node after all nodes of
    // at most its weight.
    for (unsigned i = 0, n = kSymbols; n < kNodes; i += 2, ++n) {
        const auto f = static_cast<std::uint16_t>(weight_[i] + weight_[i + 1]);
        unsigned k = n;
        while (f < weight_[k - 1]) --k;
        std::copy_backward(weight_.begin() + k, weight_.begin() + n, weight_.begin() + n + 1);
        std::copy_backward(child_.begin() + k, child_.begin() + n, child_.begin() + n + 1);
        weight_[k] = f;
        child_[k] = static_cast<std::uint16_t>(i);
    }
    for (unsigned i = 0; i < kNodes; ++i) {
        const unsigned k = child_[i];
        parent_[k] = static_cast<std::uint16_t>(i);
        if (k < kNodes) parent_[k + 1] = static_cast<std::uint16_t>(i);
    }
}

}  // namespace kav::lzh
