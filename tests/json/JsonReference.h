#pragma once
// A slow model of the JSON document for differential tests: the byte loop taken one byte at a
// time exactly as the handlers read, literal typing by conversion, and queries by a walk over
// the whole table.
#include <cstdint>
#include <vector>

#include "json/JsonDocument.h"

namespace quorvel::reference {

class Model {
  public:
    void feed(const Text& bytes);
    const std::vector<JsonNode>& nodes() const { return nodes_; }
    // 1-based number of the node the walk finds, or 0.
    int walk(const Text& path) const;

  private:
    void onByte(char ch);
    void onObjectChar(char ch);
    void onKeyChar(char ch);
    void onColonChar(char ch);
    void onArrayChar(char ch);
    void onValueChar(char ch);
    void onLiteralChar(char ch);
    void onStringChar(char ch);
    void addNode(int state);
    void close(bool object);
    void pop();
    void append(char ch);
    std::int32_t& counter(std::vector<std::int32_t>& counters, int entry);

    std::vector<JsonNode> nodes_;
    std::vector<int> nodeIndexStack_;
    std::vector<int> stateStack_;
    int lastCommaNodeCount_ = 0;
    std::vector<std::int32_t> arrayCounters_;
    std::vector<std::int32_t> objectCounters_;
    int depth_ = 0;
    int escapePending_ = 0;
    Text builder_;
};

} // namespace quorvel::reference
