#pragma once
// The program's own lenient JSON reader: a byte-wise parser into a flat node table, dotted path
// queries over it, and a text formatter.
#include <cstdint>
#include <vector>

#include "text/Text.h"
#include "text/TextBuilder.h"

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

class JsonDocument {
  public:
    JsonDocument();
    JsonDocument(const JsonDocument&) = delete;
    JsonDocument& operator=(const JsonDocument&) = delete;

    void clear();
    Text formatText(const Text& text);
    Text indentText(std::int32_t n);
    std::int32_t nodeCount() const;
    JsonNode getNode(std::int32_t number) const;
    std::int32_t copyNodes(std::vector<JsonNode>& out) const;
    // The value of the first node the path reaches, or ""; type and position (1-based) receive 0
    // when nothing is found.
    Text getValue(const Text& path, std::int32_t* type = nullptr, std::int32_t* position = nullptr,
                  bool decode = false) const;
    std::int32_t getCount(const Text& path) const;
    bool parse(const Text& text);
    bool parseBytes(const Bytes& data);
    std::int32_t feed(const Bytes& data);
    void feedText(const Text& text);
    Text unescapeText(const Text& text) const;
    // (the parser's private state and handlers follow in the implementation)
};

} // namespace quorvel
