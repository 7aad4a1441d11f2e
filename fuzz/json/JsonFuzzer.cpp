// Parse, feeding in two pieces, path queries and the formatter on arbitrary bytes. The table and
// the found nodes must be those of the slow model; any difference stops the run.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "JsonReference.h"
#include "json/JsonDocument.h"

namespace quorvel {
namespace {

void require(bool condition) {
    if (!condition) std::abort();
}

bool sameTable(const JsonDocument& document, const std::vector<JsonNode>& model) {
    if (document.nodeCount() != static_cast<std::int32_t>(model.size())) return false;
    for (std::size_t i = 0; i < model.size(); ++i) {
        const JsonNode node = document.getNode(static_cast<std::int32_t>(i + 1));
        const JsonNode& expected = model[i];
        if (node.name != expected.name || node.value != expected.value ||
            node.depth != expected.depth || node.type != expected.type)
            return false;
    }
    return true;
}

// The node's name, after the names of the nearest earlier nodes of each lower level.
Text plausiblePath(const std::vector<JsonNode>& nodes, std::size_t j, bool dotBeforeIndex) {
    Text path = nodes[j].name;
    int level = nodes[j].depth - 1;
    for (std::size_t i = j; i-- > 1 && level > 1;) {
        if (nodes[i].depth - 1 != level - 1) continue;
        path = nodes[i].name + (path.starts_with('[') && !dotBeforeIndex ? "" : ".") + path;
        --level;
    }
    return path;
}

void checkQuery(const JsonDocument& document, const reference::Model& model, const Text& path) {
    std::int32_t type = -1, position = -1;
    document.getValue(path, &type, &position, true);
    require(position == model.walk(path));
    require(type == (position > 0 ? model.nodes()[position - 1].type : 0));
    document.getCount(path);
}

} // namespace
} // namespace quorvel

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quorvel;
    const Bytes bytes(data, data + size);
    const Text text(reinterpret_cast<const char*>(data), size);

    JsonDocument document;
    document.parseBytes(bytes);
    reference::Model model;
    model.feed(text);
    require(sameTable(document, model.nodes()));

    const std::size_t cut = size == 0 ? 0 : data[0] % (size + 1);
    JsonDocument pieces;
    pieces.feed(Bytes(bytes.begin(), bytes.begin() + cut));
    pieces.feed(Bytes(bytes.begin() + cut, bytes.end()));
    require(sameTable(pieces, model.nodes()));

    const std::vector<JsonNode>& nodes = model.nodes();
    for (std::size_t j = 1; j < nodes.size() && j < 64; j += 1 + j / 8) {
        if (nodes[j].depth > 40) continue;
        checkQuery(document, model, plausiblePath(nodes, j, false));
        checkQuery(document, model, plausiblePath(nodes, j, true));
    }
    checkQuery(document, model,
               textInBytes(Bytes(bytes.end() - std::min<std::size_t>(size, 12), bytes.end())));

    document.formatText(textInBytes(bytes));
    for (std::int32_t n = 1; n <= document.nodeCount() && n <= 8; ++n)
        document.unescapeText(document.getNode(n).value);
    return 0;
}
