#pragma once
// The node table of a JSON document, stored compactly: rows of fixed size, and every name and
// value in blocks of text that never move. The text being read (the parser's builder) grows at
// the end of the current block; a row's name or value takes it when it is complete. Rows and text
// grow by whole blocks, so nothing is copied as the table grows and names and values stay put.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>
#include <string_view>
#include <vector>

#include "json/JsonBlockPool.h"
#include "json/JsonDocument.h"

namespace quorvel {

class JsonNodeTable {
  public:
    // An element of an array keeps its number instead of its name "[n]": name is null and
    // nameLength holds n.
    struct Row {
        const char* name = "";
        const char* value = nullptr;
        std::uint32_t nameLength = 0;
        std::uint32_t valueLength = 0;
        std::int32_t depth = 0;
        std::int32_t type = Other; // untypedLiteral until first read
    };
    // The type of an ended unquoted literal, which follows from its value alone, is worked out
    // when it is read.
    static constexpr std::int32_t untypedLiteral = -1;

    // Drops every row and all text.
    void clear();
    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    // Row i (0-based).
    Row& row(std::size_t i) { return rowsOf(rowBlocks_[i / rowsPerBlock])[i % rowsPerBlock]; }
    const Row& row(std::size_t i) const {
        return rowsOf(rowBlocks_[i / rowsPerBlock])[i % rowsPerBlock];
    }
    Row& back() { return row(size_ - 1); }
    // Appends an empty row.
    void addRow() {
        if (size_ % rowsPerBlock == 0) rowBlocks_.push_back(takeJsonBlock());
        // A block may come back from another table, so the row is made anew in its storage.
        new (rowsOf(rowBlocks_.back()) + size_ % rowsPerBlock) Row{};
        ++size_;
    }

    // Row i's name.
    Text name(std::size_t i) const;
    // Whether row i's name is t; element is n when t is "[n]" as element names are written
    // (n in decimal without leading zeros), else -1.
    bool nameIs(std::size_t i, std::string_view t, std::int64_t element) const {
        const Row& r = row(i);
        if (!r.name) return element == r.nameLength;
        if (r.nameLength != t.size()) return false;
        // Most names that differ, differ in their first or last byte.
        return t.empty() || (r.name[0] == t.front() && r.name[t.size() - 1] == t.back() &&
                             std::string_view(r.name, r.nameLength) == t);
    }
    // n when row i is the element [n], else -1.
    std::int64_t elementOf(std::size_t i) const {
        return row(i).name ? -1 : static_cast<std::int64_t>(row(i).nameLength);
    }
    // n when t is "[n]" as element names are written, else -1.
    static std::int64_t elementNumber(std::string_view t);
    // Row i's name becomes "[" + n + "]".
    void setElementName(std::size_t i, std::int32_t n) {
        row(i).name = nullptr;
        row(i).nameLength = static_cast<std::uint32_t>(n);
    }
    std::string_view value(std::size_t i) const { return {row(i).value, row(i).valueLength}; }
    // Row i's JsonType code.
    std::int32_t type(std::size_t i) const;
    // A copy of row i as a JsonNode.
    JsonNode node(std::size_t i) const;

    // Empties the text being read.
    void resetPending() { used_ = committed_; }
    void appendPending(char ch) {
        if (used_ == capacity_) makeRoom(1);
        textBlock_[used_++] = ch;
    }
    void appendPending(const char* begin, const char* end) {
        const auto n = static_cast<std::size_t>(end - begin);
        if (n == 0) return;
        if (capacity_ - used_ < n) makeRoom(n);
        std::memcpy(textBlock_ + used_, begin, n);
        used_ += n;
    }
    std::string_view pending() const { return {textBlock_ + committed_, used_ - committed_}; }
    // Row i's name or value becomes the text being read, which then starts empty again.
    void takePendingAsName(std::size_t i) {
        const std::string_view text = commitPending();
        row(i).name = text.empty() ? "" : text.data();
        row(i).nameLength = static_cast<std::uint32_t>(text.size());
    }
    void takePendingAsValue(std::size_t i) {
        const std::string_view text = commitPending();
        row(i).value = text.data();
        row(i).valueLength = static_cast<std::uint32_t>(text.size());
    }
    // Row i's name or value becomes t (the text being read is emptied first).
    void setName(std::size_t i, std::string_view t);
    void setValue(std::size_t i, std::string_view t);

  private:
    static constexpr std::size_t rowsPerBlock = jsonBlockBytes / sizeof(Row);

    static Row* rowsOf(const JsonBlock& block) { return static_cast<Row*>(block.get()); }

    // Moves the text being read to a fresh block with room for more bytes after it.
    void makeRoom(std::size_t more);
    // Commits the text being read; where it lies.
    std::string_view commitPending() {
        const std::string_view text = pending();
        committed_ = used_;
        return text;
    }

    std::vector<JsonBlock> rowBlocks_;
    std::size_t size_ = 0;
    std::vector<JsonBlock> textBlocks_;
    char* textBlock_ = nullptr; // the last text block
    std::size_t capacity_ = 0;  // its size
    std::size_t committed_ = 0; // its bytes before this belong to rows
    std::size_t used_ = 0;      // the text being read ends here
};

} // namespace quorvel
