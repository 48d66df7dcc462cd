#include "lzh/adaptive_model.h"

#include <algorithm>

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
    weight_[kNodes] = 0xFFFF;
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

unsigned AdaptiveModel::MoveBehindLighter(unsigned x, std::uint16_t k) {
    unsigned l = x + 1;
    while (k > weight_[l + 1]) ++l;
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
