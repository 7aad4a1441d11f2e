#pragma once
// Helpers shared by the JSON document tests.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>
#include <string>
#include <vector>

#include "json/JsonDocument.h"

namespace quorvel {

inline bool operator==(const JsonNode& a, const JsonNode& b) {
    return a.name == b.name && a.value == b.value && a.depth == b.depth && a.type == b.type;
}

inline void PrintTo(const JsonNode& node, std::ostream* out) {
    *out << "{" << node.name << ", " << node.value << ", depth " << node.depth << ", type "
         << node.type << "}";
}

inline std::vector<JsonNode> tableOf(const JsonDocument& document) {
    std::vector<JsonNode> nodes;
    document.copyNodes(nodes);
    return nodes;
}

inline Text readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Text(std::istreambuf_iterator<char>(in), {});
}

inline std::filesystem::path sharedFixture(const std::string& relative) {
    return std::filesystem::path(QUORVEL_SHARED_DIR) / "fixtures" / relative;
}

} // namespace quorvel
