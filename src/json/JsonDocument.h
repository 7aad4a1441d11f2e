#pragma once
// The program's own lenient JSON reader: a byte-wise parser into a flat node table, dotted path
// queries over it, and a text formatter.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "text/Text.h"

namespace quorvel {

enum JsonType : std::int32_t {
    Other = 0,
    Number = 1,
    String = 2,
    Boolean = 3,
    Object = 4,
    Array = 5,
    Null = 6,
};

struct JsonNode {
    Text name;
    Text value;
    std::int32_t depth = 0;
    std::int32_t type = Other;
};

class JsonNodeTable;
class JsonPathIndex;

class JsonDocument {
  public:
    JsonDocument();
    ~JsonDocument();
    JsonDocument(const JsonDocument&) = delete;
    JsonDocument& operator=(const JsonDocument&) = delete;

    // Empties the node table and the parser's stacks.
    void clear();
    // The text re-indented: one member or element per line, tabs for indentation.
    Text formatText(const Text& text);
    // "\r\n" followed by n tabs (none for n <= 0).
    Text indentText(std::int32_t n);
    // The number of nodes in the table.
    std::int32_t nodeCount() const;
    // A copy of the node with that 1-based number, or an empty record.
    JsonNode getNode(std::int32_t number) const;
    // Replaces out by copies of all nodes; the node count.
    std::int32_t copyNodes(std::vector<JsonNode>& out) const;
    // The value of the first node the path reaches, or ""; type and position (1-based) receive 0
    // when nothing is found.
    Text getValue(const Text& path, std::int32_t* type = nullptr, std::int32_t* position = nullptr,
                  bool decode = false) const;
    // The member or element count of the object or array the path reaches, else 0.
    std::int32_t getCount(const Text& path) const;
    // clear, then the text's bytes through the byte loop; true when a member or element was found.
    bool parse(const Text& text);
    // As parse, for bytes.
    bool parseBytes(const Bytes& data);
    // Continues the byte loop over data from the current state; the number of bytes given.
    std::int32_t feed(const Bytes& data);
    // feed of the text's bytes.
    void feedText(const Text& text);
    // A JSON string value with its backslash escapes decoded, in code page 936.
    Text unescapeText(const Text& text) const;

  private:
    enum ParseState : std::uint8_t {
        InObject = 1,
        InArray = 2,
        InKey = 3,
        AfterKey = 4,
        AwaitValue = 5,
        InString = 6,
        InLiteral = 7,
    };

    void feedRange(const char* data, std::size_t size);
    const char* skipToRoot(const char* p, const char* end);
    const char* scanObject(const char* p, const char* end);
    const char* scanKey(const char* p, const char* end);
    const char* scanAfterKey(const char* p, const char* end);
    const char* scanString(const char* p, const char* end);
    const char* scanLiteral(const char* p, const char* end);
    const char* scanValueStart(const char* p, const char* end);
    void dispatch(char ch);
    void openRoot(char ch);

    void onObjectChar(char ch);
    void onKeyChar(char ch);
    void onColonChar(char ch);
    void onArrayChar(char ch);
    void onValueChar(char ch);
    void onLiteralChar(char ch);
    void onStringChar(char ch);
    std::int32_t 取当前节点索引();
    void addNode(std::uint8_t state);

    void closeContainer(bool asObject);
    void pop();
    void appendToBuilder(char ch);
    void appendToBuilder(const char* begin, const char* end);
    std::size_t lastNode() const;
    const JsonPathIndex& pathIndex() const;

    // The node table and the parser's builder, which is the table's text being read.
    std::unique_ptr<JsonNodeTable> nodes_;
    std::vector<std::int32_t> nodeIndexStack_; // 1-based node numbers of the nodes being built
    std::vector<std::uint8_t> stateStack_;     // ParseState codes
    std::int32_t lastCommaNodeCount_ = 0;
    std::vector<std::int32_t> arrayCounters_;  // entry depth+1 (1-based) counts array elements
    std::vector<std::int32_t> objectCounters_; // entry depth (1-based) counts object members
    std::int32_t depth_ = 0;
    std::int32_t escapePending_ = 0;
    // Built by the first query after a change of the table.
    mutable std::unique_ptr<JsonPathIndex> pathIndex_;
};

} // namespace quorvel
