#include "install/shared_names.h"

#include <algorithm>
#include <cstdint>

#include "base/ascii_case.h"

namespace kav::install {

namespace {

// The automaton over the names: a trie with failure links and, per node,
// the nearest node on its failure chain where a name ends. It is built
// from the names in sorted order, so that each node's edges lie together
// in one array, sorted by character: a product of thousands of files has
// a trie of a hundred thousand nodes, and at a few words each it stays
// small where a hash map of edges would take several times as much.
class NameMatcher {
public:
    explicit NameMatcher(const std::vector<std::string>& patterns) {
        BuildTrie(patterns);
        LinkFailures();
    }

    // Calls found(pattern) for every occurrence of a name in `text`.
    template <typename Found>
    void Scan(const std::string& text, Found&& found) const {
        Index node = 0;
        for (const char c : text) {
            Index next = Child(node, c);
            while (next == kNoNode && node != 0) {
                node = nodes_[node].failure;
                next = Child(node, c);
            }
            node = next == kNoNode ? 0 : next;
            for (Index at = node; at != 0 && at != kNoNode; at = nodes_[at].output) {
                if (nodes_[at].pattern != kNoNode) found(nodes_[at].pattern);
            }
        }
    }

private:
    using Index = std::uint32_t;
    static constexpr Index kNoNode = static_cast<Index>(-1);
    struct Node {
        Index failure = 0;
        Index output = kNoNode;  // the nearest node on the failure chain ending a name
        Index pattern = kNoNode;
        Index firstEdge = 0;  // its edges are edges_[firstEdge, next node's firstEdge)
    };
    struct Edge {
        Index child;
        char c;
    };

    Index Child(Index node, char c) const {
        const Index end = node + 1 < nodes_.size() ? nodes_[node + 1].firstEdge
                                                   : static_cast<Index>(edges_.size());
        for (Index e = nodes_[node].firstEdge; e < end; ++e) {
            if (edges_[e].c == c) return edges_[e].child;
            if (static_cast<unsigned char>(edges_[e].c) > static_cast<unsigned char>(c)) break;
        }
        return kNoNode;
    }

    // Sorted names share their prefixes with the name before them, so the
    // path to the last name is all the trie that must be looked at while
    // adding the next.
    void BuildTrie(const std::vector<std::string>& patterns) {
        std::vector<Index> order(patterns.size());
        for (Index p = 0; p < order.size(); ++p) order[p] = p;
        std::sort(order.begin(), order.end(),
                  [&](Index a, Index b) { return patterns[a] < patterns[b]; });
        struct ParentEdge {
            Index parent;
            Index child;
            char c;
        };
        std::size_t letters = 0;
        for (const std::string& name : patterns) letters += name.size();
        std::vector<ParentEdge> edges;
        edges.reserve(letters);
        nodes_.reserve(letters + 1);
        std::vector<Index> path{0};  // path[d]: the node at depth d of the last name
        const std::string* previous = nullptr;
        nodes_.emplace_back();
        for (const Index p : order) {
            const std::string& name = patterns[p];
            std::size_t shared = 0;
            if (previous != nullptr) {
                while (shared < name.size() && shared < previous->size() &&
                       name[shared] == (*previous)[shared]) {
                    ++shared;
                }
            }
            path.resize(shared + 1);
            for (std::size_t d = shared; d < name.size(); ++d) {
                const auto child = static_cast<Index>(nodes_.size());
                nodes_.emplace_back();
                edges.push_back({path.back(), child, name[d]});
                path.push_back(child);
            }
            nodes_[path.back()].pattern = p;
            previous = &name;
        }
        // Unsigned order of characters, as Child's early stop expects.
        std::sort(edges.begin(), edges.end(), [](const ParentEdge& a, const ParentEdge& b) {
            return a.parent != b.parent
                       ? a.parent < b.parent
                       : static_cast<unsigned char>(a.c) < static_cast<unsigned char>(b.c);
        });
        edges_.reserve(edges.size());
        Index e = 0;
        for (Index node = 0; node < nodes_.size(); ++node) {
            nodes_[node].firstEdge = e;
            while (e < edges.size() && edges[e].parent == node) {
                edges_.push_back({edges[e].child, edges[e].c});
                ++e;
            }
        }
    }

    void LinkFailures() {
        std::vector<Index> queue{0};
        for (std::size_t head = 0; head < queue.size(); ++head) {
            const Index node = queue[head];
            const Index end = node + 1 < nodes_.size() ? nodes_[node + 1].firstEdge
                                                       : static_cast<Index>(edges_.size());
            for (Index e = nodes_[node].firstEdge; e < end; ++e) {
                const auto [child, c] = edges_[e];
                Index failure = 0;
                if (node != 0) {
                    Index at = nodes_[node].failure;
                    Index next = Child(at, c);
                    while (next == kNoNode && at != 0) {
                        at = nodes_[at].failure;
                        next = Child(at, c);
                    }
                    failure = next == kNoNode ? 0 : next;
                }
                nodes_[child].failure = failure;
                nodes_[child].output =
                    nodes_[failure].pattern != kNoNode ? failure : nodes_[failure].output;
                queue.push_back(child);
            }
        }
    }

    std::vector<Node> nodes_;
    std::vector<Edge> edges_;
};

}  // namespace

SharedNames::SharedNames(const std::vector<std::string>& names,
                         const std::vector<std::string>& entries) {
    // The distinct names in upper case, sorted, each entry pointing at its own.
    std::vector<std::string> upper(names.size());
    for (std::size_t i = 0; i < names.size(); ++i) upper[i] = base::AsciiUpper(names[i]);
    std::vector<std::uint32_t> order(names.size());
    for (std::uint32_t i = 0; i < order.size(); ++i) order[i] = i;
    std::sort(order.begin(), order.end(),
              [&](std::uint32_t a, std::uint32_t b) { return upper[a] < upper[b]; });
    nameOf_.assign(names.size(), kNone);
    std::vector<std::string> patterns;
    for (const std::uint32_t entry : order) {
        if (upper[entry].empty()) continue;
        if (patterns.empty() || patterns.back() != upper[entry]) {
            patterns.push_back(std::move(upper[entry]));
        }
        nameOf_[entry] = static_cast<std::uint32_t>(patterns.size() - 1);
    }
    upper = {};
    holders_.resize(patterns.size());
    const NameMatcher matcher(patterns);
    patterns = {};
    for (std::uint32_t entry = 0; entry < entries.size(); ++entry) {
        matcher.Scan(base::AsciiUpper(entries[entry]), [&](std::size_t pattern) {
            Holders& holders = holders_[pattern];
            if (holders.first == kNone) {
                holders.first = entry;
            } else if (holders.first != entry) {
                holders.several = true;
            }
        });
    }
    entryCount_ = entries.size();
}

bool SharedNames::IsShared(std::size_t index) const {
    if (index >= nameOf_.size()) return false;
    const std::uint32_t name = nameOf_[index];
    if (name == kNone) return entryCount_ > 1;
    const Holders& holders = holders_[name];
    return holders.several || (holders.first != kNone && holders.first != index);
}

}  // namespace kav::install
