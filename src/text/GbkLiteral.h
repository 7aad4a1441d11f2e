#pragma once
// The program's own texts are written in the source as UTF-8 and used as GBK: "搜索"_gbk is the
// GBK Text of that literal, converted once on first use and kept.
#include <algorithm>
#include <cstddef>

#include "text/CodePage.h"

namespace quorvel {

template <std::size_t N> struct Utf8Literal {
    char bytes[N];
    constexpr Utf8Literal(const char (&literal)[N]) { std::copy_n(literal, N, bytes); }
};

template <Utf8Literal literal> const Text& operator""_gbk() {
    static const Text converted = utf8ToGbk(Text(literal.bytes));
    return converted;
}

} // namespace quorvel
