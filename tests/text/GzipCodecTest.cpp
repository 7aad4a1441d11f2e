#include "text/GzipCodec.h"

#include <algorithm>
#include <random>

#include <gtest/gtest.h>
#include <zlib.h>

using namespace quorvel;

namespace {

constexpr int gzipWindowBits = 16 + MAX_WBITS;

// The deflate stream of repeat copies of chunk, wrapped as windowBits says.
Bytes compress(const Bytes& chunk, std::size_t repeat = 1, int windowBits = gzipWindowBits) {
    z_stream stream{};
    EXPECT_EQ(
        deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, windowBits, 9, Z_DEFAULT_STRATEGY),
        Z_OK);
    Bytes out;
    Bytes buffer(64 * 1024);
    for (std::size_t i = 0; i < repeat; ++i) {
        stream.next_in = const_cast<Bytes::value_type*>(chunk.data());
        stream.avail_in = static_cast<uInt>(chunk.size());
        const int flush = i + 1 == repeat ? Z_FINISH : Z_NO_FLUSH;
        do {
            stream.next_out = buffer.data();
            stream.avail_out = static_cast<uInt>(buffer.size());
            deflate(&stream, flush);
            out.insert(out.end(), buffer.data(), stream.next_out);
        } while (stream.avail_out == 0);
    }
    deflateEnd(&stream);
    return out;
}

Bytes noise(std::size_t n, unsigned seed = 7) {
    std::mt19937 random(seed);
    Bytes b(n);
    for (auto& byte : b)
        byte = static_cast<std::uint8_t>(random());
    return b;
}

// Text-like data that compresses about as well as a service answer.
Bytes words(std::size_t n) {
    static const char* vocabulary[] = {"{\"FileName\":",
                                       "\"hash\":",
                                       "\xD6\xD0\xCE\xC4",
                                       "128",
                                       "lists",
                                       "\"SQFileHash\":",
                                       ",",
                                       "}",
                                       "0A1B2C3D"};
    std::mt19937 random(3);
    Bytes b;
    while (b.size() < n) {
        const char* word = vocabulary[random() % std::size(vocabulary)];
        b.insert(b.end(), word, word + std::char_traits<char>::length(word));
    }
    b.resize(n);
    return b;
}

Bytes joined(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

const GzipCodec codec;

TEST(GzipCodec, decodesAcrossChunkBoundaries) {
    struct Case {
        const char* name;
        Bytes plain;
    };
    const Case cases[] = {
        {"small", words(100)},
        {"output beyond one chunk", words(100000)},
        {"input beyond one chunk", noise(50000)},
        {"output exactly one chunk", words(8192)},
        {"single byte", Bytes{'x'}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Bytes body = compress(c.plain);
        EXPECT_EQ(codec.decompress(body), c.plain);
    }
    EXPECT_GT(compress(noise(50000)).size(), 8192u);
}

TEST(GzipCodec, decodesEveryMemberOfAStream) {
    const Bytes first = words(20000), second = noise(9000), third = Bytes{'!'};
    const Bytes body = joined(joined(compress(first), compress(second)), compress(third));
    EXPECT_EQ(codec.decompress(body), joined(joined(first, second), third));
}

TEST(GzipCodec, keepsOutputDecodedBeforeACut) {
    const Bytes plain = words(200000);
    const Bytes body = compress(plain);
    for (std::size_t cut : {body.size() / 2, body.size() - 1, body.size() - 8}) {
        SCOPED_TRACE(cut);
        const Bytes decoded = codec.decompress(Bytes(body.begin(), body.begin() + cut));
        ASSERT_FALSE(decoded.empty());
        ASSERT_LE(decoded.size(), plain.size());
        EXPECT_TRUE(std::equal(decoded.begin(), decoded.end(), plain.begin()));
    }
}

TEST(GzipCodec, keepsOutputDecodedBeforeACorruptPoint) {
    const Bytes first = words(30000);
    EXPECT_EQ(codec.decompress(joined(compress(first), Bytes{'j', 'u', 'n', 'k'})), first);
    EXPECT_EQ(codec.decompress(joined(compress(first), Bytes(16, 0))), first);
    Bytes damaged = compress(words(30000));
    damaged[damaged.size() - 3] ^= 0xFF; // the length in the trailer no longer agrees
    EXPECT_EQ(codec.decompress(damaged), first);
}

TEST(GzipCodec, givesNothingForBodiesThatAreNotGzip) {
    EXPECT_TRUE(codec.loaded());
    EXPECT_TRUE(codec.decompress(Bytes{}).empty());
    const Text page = "<html>plain text with gzip asked for</html>";
    EXPECT_TRUE(codec.decompress(Bytes(page.begin(), page.end())).empty());
    EXPECT_TRUE(codec.decompress(compress(words(1000), 1, MAX_WBITS)).empty());
    EXPECT_TRUE(codec.decompress(compress(words(1000), 1, -MAX_WBITS)).empty());
    EXPECT_TRUE(codec.decompress(Bytes{0x1F, 0x8B}).empty());
}

TEST(GzipCodec, refusesOutputBeyondTheLimit) {
    const Bytes zeros(1 << 20, 0);
    const std::size_t limitInChunks = GzipCodec::maxOutputBytes / zeros.size();
    EXPECT_EQ(codec.decompress(compress(zeros, limitInChunks)).size(), GzipCodec::maxOutputBytes);
    const Bytes oneByteMore = joined(compress(zeros, limitInChunks), compress(Bytes{0}));
    EXPECT_TRUE(codec.decompress(oneByteMore).empty());
    const Bytes bomb = compress(zeros, 2 * limitInChunks);
    EXPECT_LT(bomb.size(), 1u << 20);
    EXPECT_TRUE(codec.decompress(bomb).empty());
}

} // namespace
