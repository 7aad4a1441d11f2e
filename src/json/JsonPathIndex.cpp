#include "json/JsonPathIndex.h"

#include <algorithm>

namespace quorvel {

namespace {

constexpr int top = 0;
constexpr int noParent = -1;
constexpr int shortList = 64; // child lists up to this length are searched in order

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

// A name's length with its first and last bytes: names that differ mostly differ here. Element
// rows and empty names get 0, which every scan looks at closely.
std::uint32_t nameKey(std::string_view name) {
    if (name.empty()) return 0;
    return static_cast<std::uint32_t>(name.size()) << 16 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(name.front())) << 8 |
           static_cast<unsigned char>(name.back());
}

std::uint32_t rowKey(const JsonNodeTable& nodes, int i) {
    const JsonNodeTable::Row& row = nodes.row(i);
    return row.name ? nameKey({row.name, row.nameLength}) : 0;
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
    childKeys_.resize(childStart_.back());
    for (std::size_t j = 0; j < parents.size(); ++j) {
        if (parents[j] == noParent) continue;
        const int at = childStart_[parents[j] + 1]++;
        children_[at] = static_cast<int>(j);
        childKeys_[at] = rowKey(nodes, static_cast<int>(j));
    }
    numberedInOrder_.assign(nodes.size() + 1, true);
    for (std::size_t slot = 0; slot <= nodes.size(); ++slot)
        for (int at = 0; at < childStart_[slot + 1] - childStart_[slot]; ++at)
            if (nodes.elementOf(children_[childStart_[slot] + at]) != at) {
                numberedInOrder_[slot] = false;
                break;
            }
}

int JsonPathIndex::find(const std::vector<std::string_view>& parts) const {
    if (parts.empty()) return -1;
    std::vector<Level>& levels = levels_;
    levels.resize(parts.size());
    for (std::size_t i = 0; i < parts.size(); ++i)
        levels[i] = {parts[i], JsonNodeTable::elementNumber(parts[i]), top, -1};
    std::size_t level = 0;
    while (true) {
        Level& at = levels[level];
        at.cursor = nextChildNamed(at.parent, at.name, at.element, at.cursor);
        if (at.cursor < 0) {
            if (level == 0) return -1;
            --level;
            continue;
        }
        const int child = children_[childStart_[at.parent] + at.cursor];
        if (level + 1 == levels.size()) return child;
        ++level;
        levels[level].parent = child;
        levels[level].cursor = -1;
    }
}

int JsonPathIndex::nextChildNamed(int parent, std::string_view name, std::int64_t element,
                                  int after) const {
    const int begin = childStart_[parent];
    const int count = childStart_[parent + 1] - begin;
    if (numberedInOrder_[parent]) return element > after && element < count ? element : -1;
    if (count <= shortList) {
        const std::uint32_t key = nameKey(name);
        for (int at = after + 1; at < count; ++at) {
            const std::uint32_t childKey = childKeys_[begin + at];
            if ((childKey == key || childKey == 0) &&
                nodes_.nameIs(children_[begin + at], name, element))
                return at;
        }
        return -1;
    }
    const NamedChildren& named = namedChildren(parent);
    auto it = std::lower_bound(named.begin(), named.end(), std::make_pair(name, after + 1),
                               [](const std::pair<Text, int>& a, const auto& b) {
                                   const int order = std::string_view(a.first).compare(b.first);
                                   return order < 0 || (order == 0 && a.second < b.second);
                               });
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
