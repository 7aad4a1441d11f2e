#include "json/JsonPathIndex.h"

#include <algorithm>

namespace quorvel {

namespace {

constexpr int top = 0;
constexpr int noParent = -1;
constexpr int shortList = 16; // child lists up to this length are searched in order

long long levelOf(const JsonNodeTable& nodes, std::size_t i) {
    return static_cast<long long>(nodes.row(i).depth) - 1;
}

// The parent slot of every node (noParent for nodes the walk never looks at).
std::vector<int> parentsOf(const JsonNodeTable& nodes) {
    std::vector<int> parents(nodes.size(), noParent);
    std::vector<int> lower; // node numbers of strictly increasing levels
    for (std::size_t j = 1; j < nodes.size(); ++j) {
        const long long level = levelOf(nodes, j);
        if (level < 1) continue;
        while (!lower.empty() && levelOf(nodes, lower.back()) >= level)
            lower.pop_back();
        if (level == 1)
            parents[j] = top;
        else if (!lower.empty() && levelOf(nodes, lower.back()) == level - 1)
            parents[j] = lower.back();
        lower.push_back(static_cast<int>(j));
    }
    return parents;
}

} // namespace

JsonPathIndex::JsonPathIndex(const JsonNodeTable& nodes) : nodes_(nodes) {
    const std::vector<int> parents = parentsOf(nodes);
    childStart_.assign(nodes.size() + 2, 0);
    for (int parent : parents)
        if (parent != noParent) ++childStart_[parent + 2];
    for (std::size_t s = 2; s < childStart_.size(); ++s)
        childStart_[s] += childStart_[s - 1];
    children_.resize(childStart_.back());
    for (std::size_t j = 0; j < parents.size(); ++j)
        if (parents[j] != noParent) children_[childStart_[parents[j] + 1]++] = static_cast<int>(j);
}

int JsonPathIndex::find(const std::vector<std::string_view>& parts) const {
    if (parts.empty()) return -1;
    const std::size_t last = parts.size() - 1;
    std::vector<int> parent(parts.size()), cursor(parts.size());
    parent[0] = top;
    cursor[0] = -1;
    std::size_t level = 0;
    while (true) {
        const int at = nextChildNamed(parent[level], parts[level], cursor[level]);
        if (at < 0) {
            if (level == 0) return -1;
            --level;
            continue;
        }
        cursor[level] = at;
        const int child = children_[childStart_[parent[level]] + at];
        if (level == last) return child;
        ++level;
        parent[level] = child;
        cursor[level] = -1;
    }
}

int JsonPathIndex::nextChildNamed(int parent, std::string_view name, int after) const {
    const int begin = childStart_[parent];
    const int count = childStart_[parent + 1] - begin;
    if (count <= shortList) {
        for (int at = after + 1; at < count; ++at)
            if (nodes_.name(children_[begin + at]) == name) return at;
        return -1;
    }
    const NamedChildren& named = namedChildren(parent);
    auto it = std::lower_bound(named.begin(), named.end(), std::make_pair(name, after + 1));
    return it != named.end() && it->first == name ? it->second : -1;
}

const JsonPathIndex::NamedChildren& JsonPathIndex::namedChildren(int parent) const {
    auto [it, added] = namedChildren_.try_emplace(parent);
    if (added) {
        const int begin = childStart_[parent];
        const int count = childStart_[parent + 1] - begin;
        it->second.reserve(count);
        for (int at = 0; at < count; ++at)
            it->second.emplace_back(nodes_.name(children_[begin + at]), at);
        std::sort(it->second.begin(), it->second.end());
    }
    return it->second;
}

} // namespace quorvel
