#include "install/shared_names.h"

#include <cstdint>
#include <queue>

#include "base/ascii_case.h"

namespace kav::install {

namespace {

// The automaton over the names: a trie with failure links and, per node,
// the names that end there (directly or through its failure chain).
class NameMatcher {
public:
    explicit NameMatcher(const std::vector<std::string>& patterns) {
        nodes_.emplace_back();
        for (std::size_t p = 0; p < patterns.size(); ++p) {
            std::size_t node = 0;
            for (const char c : patterns[p]) node = Child(node, c, true);
            nodes_[node].pattern = p;
        }
        LinkFailures();
    }

    // Calls found(pattern) for every occurrence of a name in `text`.
    template <typename Found>
    void Scan(const std::string& text, Found&& found) const {
        std::size_t node = 0;
        for (const char c : text) {
            while (node != 0 && Child(node, c) == kNoNode) node = nodes_[node].failure;
            const std::size_t next = Child(node, c);
            node = next == kNoNode ? 0 : next;
            for (std::size_t at = node; at != 0 && at != kNoNode; at = nodes_[at].output) {
                if (nodes_[at].pattern != kNoNode) found(nodes_[at].pattern);
            }
        }
    }

private:
    static constexpr std::size_t kNoNode = static_cast<std::size_t>(-1);
    struct Node {
        std::size_t failure = 0;
        std::size_t output = kNoNode;  // the nearest node on the failure chain ending a name
        std::size_t pattern = kNoNode;
    };

    static std::uint64_t Key(std::size_t node, char c) {
        return (static_cast<std::uint64_t>(node) << 8) | static_cast<unsigned char>(c);
    }
    std::size_t Child(std::size_t node, char c) const {
        const auto found = edges_.find(Key(node, c));
        return found == edges_.end() ? kNoNode : found->second;
    }
    std::size_t Child(std::size_t node, char c, bool) {
        const auto [edge, added] = edges_.try_emplace(Key(node, c), nodes_.size());
        if (added) nodes_.emplace_back();
        return edge->second;
    }

    void LinkFailures() {
        std::vector<std::vector<std::pair<char, std::size_t>>> children(nodes_.size());
        for (const auto& [key, child] : edges_) {
            children[key >> 8].emplace_back(static_cast<char>(key & 0xFF), child);
        }
        std::queue<std::size_t> queue;
        queue.push(0);
        while (!queue.empty()) {
            const std::size_t node = queue.front();
            queue.pop();
            for (const auto& [c, child] : children[node]) {
                std::size_t failure = 0;
                if (node != 0) {
                    std::size_t at = nodes_[node].failure;
                    while (at != 0 && Child(at, c) == kNoNode) at = nodes_[at].failure;
                    const std::size_t next = Child(at, c);
                    failure = next == kNoNode ? 0 : next;
                }
                nodes_[child].failure = failure;
                nodes_[child].output =
                    nodes_[failure].pattern != kNoNode ? failure : nodes_[failure].output;
                queue.push(child);
            }
        }
    }

    std::vector<Node> nodes_;
    std::unordered_map<std::uint64_t, std::size_t> edges_;
};

}  // namespace

SharedNames::SharedNames(const std::vector<std::string>& names,
                         const std::vector<std::string>& entries) {
    upperEntries_.reserve(entries.size());
    for (const std::string& entry : entries) upperEntries_.push_back(base::AsciiUpper(entry));
    std::vector<std::string> patterns;
    for (const std::string& name : names) {
        std::string upper = base::AsciiUpper(name);
        if (upper.empty() || holders_.count(upper)) continue;
        holders_.emplace(upper, Holders{});
        patterns.push_back(std::move(upper));
    }
    std::vector<Holders*> byPattern;
    for (const std::string& pattern : patterns) byPattern.push_back(&holders_.at(pattern));
    const NameMatcher matcher(patterns);
    for (std::size_t entry = 0; entry < upperEntries_.size(); ++entry) {
        matcher.Scan(upperEntries_[entry], [&](std::size_t pattern) {
            Holders& holders = *byPattern[pattern];
            if (holders.first == kNone) {
                holders.first = entry;
            } else if (holders.first != entry) {
                holders.several = true;
            }
        });
    }
}

bool SharedNames::IsShared(const std::string& upperName, std::size_t index) const {
    const auto found = holders_.find(upperName);
    if (found != holders_.end()) {
        const Holders& holders = found->second;
        return holders.several || (holders.first != kNone && holders.first != index);
    }
    for (std::size_t other = 0; other < upperEntries_.size(); ++other) {
        if (other != index && upperEntries_[other].find(upperName) != std::string::npos) {
            return true;
        }
    }
    return false;
}

}  // namespace kav::install
