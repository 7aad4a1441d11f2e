// The document against a slow byte-at-a-time model on real and random texts.
#include <gtest/gtest.h>

#include <random>

#include "JsonReference.h"
#include "JsonTestSupport.h"

namespace quorvel {
namespace {

// A path that is likely to reach node j: its name, and before it the name of the nearest
// earlier node of each lower level.
Text plausiblePath(const std::vector<JsonNode>& nodes, std::size_t j, std::mt19937& random) {
    Text path = nodes[j].name;
    int level = nodes[j].depth - 1;
    for (std::size_t i = j; i-- > 1 && level > 1;) {
        if (nodes[i].depth - 1 != level - 1) continue;
        const bool index = path.starts_with('[');
        path = nodes[i].name + (index && random() % 2 ? "" : ".") + path;
        --level;
    }
    return random() % 4 == 0 ? "." + path : path;
}

void expectSameAsModel(const Text& text, std::mt19937& random) {
    JsonDocument document;
    document.parseBytes(toBytes(text));
    reference::Model model;
    model.feed(text);
    ASSERT_EQ(tableOf(document), model.nodes()) << text;
    const std::vector<JsonNode>& nodes = model.nodes();
    for (int probe = 0; probe < 8 && nodes.size() > 1; ++probe) {
        const std::size_t j = 1 + random() % (nodes.size() - 1);
        if (nodes[j].depth > 40) continue; // keeps paths of deep texts short
        const Text path = plausiblePath(nodes, j, random);
        std::int32_t position = -1;
        document.getValue(path, nullptr, &position);
        ASSERT_EQ(position, model.walk(path)) << path << " in " << text;
    }
}

TEST(Differential, fixturesGiveTheModelsTableAndAnswers) {
    std::mt19937 random(7);
    for (const char* folder : {"JSONTestSuite/test_parsing", "json-bench", "service"})
        for (const auto& entry : std::filesystem::directory_iterator(sharedFixture(folder)))
            expectSameAsModel(readFile(entry.path()), random);
}

Text randomText(std::mt19937& random, const std::string& alphabet, std::size_t maxLength) {
    Text text;
    const std::size_t n = random() % maxLength;
    for (std::size_t i = 0; i < n; ++i)
        text += alphabet[random() % alphabet.size()];
    return text;
}

TEST(Differential, randomTextsGiveTheModelsTableAndAnswers) {
    std::mt19937 random(11);
    const std::string structure("{}[]:,\"\\ \r\n\tab[0]1-.etrunl\x81\x5c\0", 29);
    for (int round = 0; round < 20000; ++round)
        expectSameAsModel("[" + randomText(random, structure, 40), random);
    const std::string wellFormedish = "{}[],:\"\"\"a1";
    for (int round = 0; round < 20000; ++round)
        expectSameAsModel(randomText(random, wellFormedish, 60), random);
}

TEST(Differential, numberLikeLiteralsAreTypedAsTheModelTypesThem) {
    std::mt19937 random(13);
    const std::string digits = "0000123456789-.e+";
    for (int round = 0; round < 50000; ++round)
        expectSameAsModel("[" + randomText(random, digits, 20) + "]", random);
}

} // namespace
} // namespace quorvel
