// Parse speed of the JSON document beside nlohmann::json and RapidJSON's DOM on the same bytes,
// and the query pattern of the song search.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>
#include <rapidjson/document.h>
#include <string>

#include "text/TextBetween.h"
#include "json/JsonDocument.h"

namespace quorvel {
namespace {

Text readFixture(const std::string& relative) {
    std::ifstream in(std::filesystem::path(QUORVEL_SHARED_DIR) / "fixtures" / relative,
                     std::ios::binary);
    return Text(std::istreambuf_iterator<char>(in), {});
}

// The search answer as the song search cuts it out of its JSONP wrapper.
Text searchAnswer() {
    return textBetween(readFixture("service/search-answer.txt"),
                       "jQuery1910026785707623246724_1490845878865(", "}})") +
           "}}";
}

// The search answer with its hit list repeated to 40 hits.
Text fortyHitAnswer() {
    const Text answer = searchAnswer();
    const Text listStart = "\"lists\":[";
    const std::size_t from = answer.find(listStart) + listStart.size();
    const std::size_t to = answer.rfind("]}}");
    const Text hits = answer.substr(from, to - from); // five hits
    Text list = hits;
    for (int copy = 1; copy < 8; ++copy)
        list += "," + hits;
    return answer.substr(0, from) + list + answer.substr(to);
}

const Text& input(int which) {
    static const Text texts[] = {readFixture("json-bench/twitter.json"),
                                 readFixture("json-bench/citm_catalog.json"),
                                 readFixture("json-bench/canada.json"), searchAnswer()};
    return texts[which];
}

void nameInput(benchmark::State& state) {
    static const char* names[] = {"twitter", "citm_catalog", "canada", "search_answer"};
    state.SetLabel(names[state.range(0)]);
    state.SetBytesProcessed(state.iterations() *
                            static_cast<std::int64_t>(input(state.range(0)).size()));
}

void BM_JsonDocumentParse(benchmark::State& state) {
    const Text& text = input(state.range(0));
    for (auto _ : state) {
        JsonDocument document;
        benchmark::DoNotOptimize(document.parse(text));
    }
    nameInput(state);
}

void BM_NlohmannParse(benchmark::State& state) {
    const Text& text = input(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(nlohmann::json::parse(text));
    nameInput(state);
}

void BM_RapidJsonDomParse(benchmark::State& state) {
    const Text& text = input(state.range(0));
    for (auto _ : state) {
        rapidjson::Document document;
        document.Parse(text.c_str(), text.size());
        benchmark::DoNotOptimize(document.HasParseError());
    }
    nameInput(state);
}

BENCHMARK(BM_JsonDocumentParse)->DenseRange(0, 3)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_NlohmannParse)->DenseRange(0, 3)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RapidJsonDomParse)->DenseRange(0, 3)->Unit(benchmark::kMicrosecond);

// getCount of the hit list, then the four fields of every hit.
void searchQueries(const JsonDocument& document) {
    const std::int32_t count = document.getCount("data.lists");
    for (std::int32_t i = 0; i < count; ++i) {
        const Text prefix = "data.lists[" + toText(i) + "].";
        benchmark::DoNotOptimize(document.getValue(prefix + "FileName"));
        benchmark::DoNotOptimize(document.getValue(prefix + "FileHash"));
        benchmark::DoNotOptimize(document.getValue(prefix + "HQFileHash"));
        benchmark::DoNotOptimize(document.getValue(prefix + "SQFileHash"));
    }
}

// The queries as the song search makes them: the first ones after the parse.
void BM_SongSearchQueries40Hits(benchmark::State& state) {
    const Text text = fortyHitAnswer();
    JsonDocument document;
    for (auto _ : state) {
        state.PauseTiming();
        document.parse(text);
        state.ResumeTiming();
        searchQueries(document);
    }
}

// The same queries asked again of a document already queried.
void BM_SongSearchQueries40HitsRepeated(benchmark::State& state) {
    JsonDocument document;
    document.parse(fortyHitAnswer());
    for (auto _ : state)
        searchQueries(document);
}

// Parse and queries together, as one search page costs.
void BM_SongSearchParseAndQueries40Hits(benchmark::State& state) {
    const Text text = fortyHitAnswer();
    for (auto _ : state) {
        JsonDocument document;
        document.parse(text);
        searchQueries(document);
    }
}

BENCHMARK(BM_SongSearchQueries40Hits)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SongSearchQueries40HitsRepeated)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SongSearchParseAndQueries40Hits)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace quorvel
