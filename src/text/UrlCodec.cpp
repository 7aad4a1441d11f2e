#include "text/UrlCodec.h"

#include "text/CodePage.h"

namespace quorvel {

namespace {

bool isUnreserved(unsigned char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '-' ||
           c == '.';
}

// The value of one hexadecimal digit of either case, or -1.
int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

} // namespace

Text urlEncode(const Text& t, bool keepUnreserved, bool toUtf8) {
    static constexpr char digits[] = "0123456789ABCDEF";
    const Text bytes = toUtf8 ? gbkToUtf8(t) : t;
    Text out;
    out.reserve(bytes.size() * 3);
    for (char byte : bytes) {
        auto c = static_cast<unsigned char>(byte);
        if (keepUnreserved && isUnreserved(c)) {
            out += byte;
            continue;
        }
        out += '%';
        out += digits[c >> 4];
        out += digits[c & 0x0F];
    }
    return out;
}

Text urlDecode(const Text& t, bool fromUtf8) {
    Text out;
    out.reserve(t.size());
    for (std::size_t i = 0; i < t.size(); ++i) {
        int high = t[i] == '%' && i + 2 < t.size() ? hexDigit(t[i + 1]) : -1;
        int low = high >= 0 ? hexDigit(t[i + 2]) : -1;
        if (low < 0) {
            out += t[i];
            continue;
        }
        // %00 would put a NUL inside the text; it adds nothing.
        if (int value = high * 16 + low; value != 0) out += static_cast<char>(value);
        i += 2;
    }
    return fromUtf8 ? utf8ToGbk(out) : out;
}

} // namespace quorvel
