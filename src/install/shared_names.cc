#include "install/shared_names.h"

#include <algorithm>
#include <cstdint>

#include "base/ascii_case.h"

namespace kav::install {

namespace {

// The automaton over the names: a trie with failure links and, per node,
// the nearest node on its failure chain where a name ends. Built from the
// names in sorted order, the trie's nodes lie in preorder: a node's first
// child is the node after it, and each child links to the next, in the
// order of their characters. A product of thousands of files has a trie of
// a hundred thousand nodes; at five words a node and nothing else, it stays
// small where a hash map of edges took several times as much.
class NameMatcher {
public:
    // `patterns` sorted, each once.
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
        Index nextSibling = kNoNode;
        char c = 0;  // the character of the edge into the node
        bool hasChild = false;
    };

    static bool Before(char a, char b) {
        return static_cast<unsigned char>(a) < static_cast<unsigned char>(b);
    }

    Index Child(Index node, char c) const {
        if (!nodes_[node].hasChild) return kNoNode;
        for (Index child = node + 1; child != kNoNode; child = nodes_[child].nextSibling) {
            if (nodes_[child].c == c) return child;
            if (Before(c, nodes_[child].c)) break;
        }
        return kNoNode;
    }

    static std::size_t SharedPrefix(const std::string& a, const std::string& b) {
        std::size_t n = 0;
        while (n < a.size() && n < b.size() && a[n] == b[n]) ++n;
        return n;
    }

    // Each name shares its prefix with the one before it, so only the path
    // to the last name is looked at while adding the next; the new part
    // branches off that path after the last child of its branch point.
    void BuildTrie(const std::vector<std::string>& patterns) {
        std::size_t count = 1;
        for (std::size_t p = 0; p < patterns.size(); ++p) {
            count += patterns[p].size() - (p > 0 ? SharedPrefix(patterns[p - 1], patterns[p]) : 0);
        }
        nodes_.reserve(count);
        nodes_.emplace_back();
        std::vector<Index> path{0};  // path[d]: the node at depth d of the last name
        for (std::size_t p = 0; p < patterns.size(); ++p) {
            const std::string& name = patterns[p];
            const std::size_t shared = p > 0 ? SharedPrefix(patterns[p - 1], name) : 0;
            const Index lastChild = shared + 1 < path.size() ? path[shared + 1] : kNoNode;
            path.resize(shared + 1);
            for (std::size_t d = shared; d < name.size(); ++d) {
                const auto child = static_cast<Index>(nodes_.size());
                const Index parent = path.back();
                if (d == shared && lastChild != kNoNode) {
                    nodes_[lastChild].nextSibling = child;
                } else {
                    nodes_[parent].hasChild = true;  // and `child` is parent + 1
                }
                nodes_.emplace_back().c = name[d];
                path.push_back(child);
            }
            nodes_[path.back()].pattern = static_cast<Index>(p);
        }
    }

    void LinkFailures() {
        std::vector<Index> queue{0};
        for (std::size_t head = 0; head < queue.size(); ++head) {
            const Index node = queue[head];
            if (!nodes_[node].hasChild) continue;
            for (Index child = node + 1; child != kNoNode; child = nodes_[child].nextSibling) {
                const char c = nodes_[child].c;
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
