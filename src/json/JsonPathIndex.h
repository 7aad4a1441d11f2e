#pragma once
// An index over a node table that answers path queries exactly as a walk of the whole table
// would: the first node in table order whose chain of enclosing names equals the path.
//
// The walk looks at node j (level = depth - 1) only when every level from 1 to level - 1 has
// just been matched, and that holds exactly when the nearest earlier node of a lower level
// (nodes below level 1 take no part) lies one level up and was itself looked at and matched.
// So that node is j's parent here, a node whose nearest lower node lies further up is never
// looked at, and the level-1 nodes are the top. Subtrees are runs of the table, so a
// depth-first search over same-named children in table order finds the walk's node.
#include <cstdint>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "json/JsonNodeTable.h"

namespace quorvel {

class JsonPathIndex {
  public:
    explicit JsonPathIndex(const JsonNodeTable& nodes);
    // 0-based number of the first node the parts reach, or -1.
    int find(const std::vector<std::string_view>& parts) const;

  private:
    using NamedChildren = std::vector<std::pair<Text, int>>;
    struct Level {
        std::string_view name;
        std::int64_t element; // n for a name "[n]", else -1
        int parent;
        int cursor; // position of the child last tried in parent's child list
    };

    // Position, in parent's child list, of its next child after position after with that name,
    // or -1. Slot 0 stands for the top.
    int nextChildNamed(int parent, std::string_view name, std::int64_t element, int after) const;
    const NamedChildren& namedChildren(int parent) const;

    const JsonNodeTable& nodes_;
    std::vector<int> childStart_; // children of slot s: children_[childStart_[s], childStart_[s+1])
    std::vector<int> children_;
    // Beside each child, its name's key (see nameKey): a scan of a child list compares these
    // first, in one run of memory, and looks at the rows only where the keys agree.
    std::vector<std::uint32_t> childKeys_;
    // Slots whose children are the elements [0], [1], ... in this order.
    std::vector<bool> numberedInOrder_;
    mutable std::vector<Level> levels_; // the search's stack, kept between queries
    mutable std::unordered_map<int, NamedChildren> namedChildren_; // for long child lists
};

} // namespace quorvel
