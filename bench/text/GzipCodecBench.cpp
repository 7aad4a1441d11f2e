#include <random>

#include <benchmark/benchmark.h>
#include <zlib.h>

#include "support/Gzipped.h"
#include "text/GzipCodec.h"

using namespace quorvel;

namespace {

constexpr std::size_t plainSize = 1 << 20;

// About 1 MiB of JSON-like text.
Bytes plainBody() {
    const char* words[] = {"{\"FileName\":\"",
                           "\xD6\xD0\xCE\xC4",
                           "\",\"FileHash\":\"",
                           "0A1B",
                           "9F3C",
                           "\"},",
                           "<em>",
                           "</em>",
                           "320",
                           "\"SQFileHash\":\""};
    std::mt19937 random(1);
    Bytes b;
    while (b.size() < plainSize) {
        const char* w = words[random() % std::size(words)];
        b.insert(b.end(), w, w + std::char_traits<char>::length(w));
    }
    b.resize(plainSize);
    return b;
}

const Bytes& body() {
    static const Bytes compressed = test::gzipped(plainBody());
    return compressed;
}

void gzipCodecDecompress(benchmark::State& state) {
    const GzipCodec codec;
    for (auto _ : state)
        benchmark::DoNotOptimize(codec.decompress(body()));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * plainSize));
}

// The floor: one inflate stream over the whole body into a buffer of the known size.
void bareInflateLoop(benchmark::State& state) {
    Bytes out(plainSize);
    for (auto _ : state) {
        z_stream stream{};
        inflateInit2(&stream, 16 + MAX_WBITS);
        stream.next_in = const_cast<Bytes::value_type*>(body().data());
        stream.avail_in = static_cast<uInt>(body().size());
        stream.next_out = out.data();
        stream.avail_out = static_cast<uInt>(out.size());
        while (inflate(&stream, Z_NO_FLUSH) == Z_OK) {
        }
        inflateEnd(&stream);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * plainSize));
}

} // namespace

BENCHMARK(bareInflateLoop);
BENCHMARK(gzipCodecDecompress);
