#include "text/CodePage.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <string>

#include <unicode/uchar.h>
#include <unicode/ucnv.h>
#include <unicode/unorm2.h>
#include <unicode/utf16.h>

namespace quorvel {

namespace {

// The two converters of the calling thread, opened on its first conversion and closed when it
// ends. A converter whose opening failed stays null and makes its conversions give "".
class Converters {
  public:
    Converters() {
        UErrorCode error = U_ZERO_ERROR;
        utf8_ = ucnv_open("UTF-8", &error);
        error = U_ZERO_ERROR;
        gbk_ = ucnv_open("windows-936", &error);
        if (gbk_) {
            // Characters GBK lacks become "?", as the Windows conversion service writes them.
            error = U_ZERO_ERROR;
            ucnv_setSubstChars(gbk_, "?", 1, &error);
        }
    }
    ~Converters() {
        if (utf8_) ucnv_close(utf8_);
        if (gbk_) ucnv_close(gbk_);
    }
    Converters(const Converters&) = delete;
    Converters& operator=(const Converters&) = delete;

    UConverter* forCodePage(int codePage) const {
        if (codePage == codePageUtf8) return utf8_;
        if (codePage == codePageGbk || codePage == codePageAnsi) return gbk_;
        return nullptr;
    }

  private:
    UConverter* utf8_ = nullptr;
    UConverter* gbk_ = nullptr;
};

UConverter* converter(int codePage) {
    thread_local Converters converters;
    return converters.forCodePage(codePage);
}

// Longest input handed to ICU, whose lengths are 32-bit; longer input is refused.
constexpr std::size_t maxInput = INT32_MAX / 4;

std::size_t lengthBeforeNul(const char* data, std::size_t size) {
    if (size == 0) return 0; // data may be null then
    const void* nul = std::memchr(data, 0, size);
    return nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - data) : size;
}

bool isAscii(const char* data, std::size_t size) {
    return std::all_of(data, data + size, [](char c) { return (c & 0x80) == 0; });
}

// Bytes of GBK or UTF-8 to the other, through UTF-16 inside ICU, in one pass. Both keep ASCII as
// it is, so ASCII needs no converter (and start-up no code page table).
Text convertBytes(const char* data, std::size_t size, int fromCodePage, int toCodePage) {
    if (size <= maxInput && isAscii(data, size)) return Text(data, size);
    UConverter* from = converter(fromCodePage);
    UConverter* to = converter(toCodePage);
    if (!from || !to || size == 0 || size > maxInput) return {};
    // Every input byte yields at most one UTF-16 unit, which the target writes in at most
    // maxCharSize bytes.
    Text out(size * static_cast<std::size_t>(ucnv_getMaxCharSize(to)), '\0');
    char* target = out.data();
    const char* source = data;
    UErrorCode error = U_ZERO_ERROR;
    ucnv_convertEx(to, from, &target, out.data() + out.size(), &source, data + size, nullptr,
                   nullptr, nullptr, nullptr, true, true, &error);
    if (U_FAILURE(error)) return {};
    out.resize(static_cast<std::size_t>(target - out.data()));
    return out;
}

std::u16string widen(const Text& t, int codePage) {
    UConverter* from = converter(codePage);
    std::size_t size = lengthBeforeNul(t.data(), t.size());
    if (!from || size > maxInput) return {};
    std::u16string units(size, u'\0');
    UErrorCode error = U_ZERO_ERROR;
    int32_t n = ucnv_toUChars(from, units.data(), static_cast<int32_t>(units.size()), t.data(),
                              static_cast<int32_t>(size), &error);
    if (U_FAILURE(error) && error != U_STRING_NOT_TERMINATED_WARNING) return {};
    units.resize(static_cast<std::size_t>(n));
    return units;
}

Text narrow(const std::u16string& units, int codePage) {
    UConverter* to = converter(codePage);
    if (!to || units.empty() || units.size() > maxInput) return {};
    Text out(units.size() * static_cast<std::size_t>(ucnv_getMaxCharSize(to)), '\0');
    UErrorCode error = U_ZERO_ERROR;
    int32_t n = ucnv_fromUChars(to, out.data(), static_cast<int32_t>(out.size()), units.data(),
                                static_cast<int32_t>(units.size()), &error);
    if (U_FAILURE(error) && error != U_STRING_NOT_TERMINATED_WARNING) return {};
    out.resize(lengthBeforeNul(out.data(), static_cast<std::size_t>(n)));
    return out;
}

std::u16string unitsOf(const Bytes& u) {
    std::u16string units(u.size() / 2, u'\0');
    for (std::size_t i = 0; i < units.size(); ++i)
        units[i] = static_cast<char16_t>(u[2 * i] | (u[2 * i + 1] << 8));
    return units;
}

Bytes bytesOf(const std::u16string& units) {
    Bytes u(units.size() * 2);
    for (std::size_t i = 0; i < units.size(); ++i) {
        u[2 * i] = static_cast<std::uint8_t>(units[i] & 0xFF);
        u[2 * i + 1] = static_cast<std::uint8_t>(units[i] >> 8);
    }
    return u;
}

bool isNonspacingMark(UChar32 c) {
    return (U_GET_GC_MASK(c) & U_GC_MN_MASK) != 0;
}

void appendCodePoint(std::u16string& out, UChar32 c) {
    if (U_IS_BMP(c)) {
        out += static_cast<char16_t>(c);
    } else {
        out += static_cast<char16_t>(U16_LEAD(c));
        out += static_cast<char16_t>(U16_TRAIL(c));
    }
}

// A base character followed by nonspacing marks becomes the precomposed character where one
// exists, as the Windows service's composite check does.
std::u16string composePairs(const std::u16string& units) {
    UErrorCode error = U_ZERO_ERROR;
    const UNormalizer2* nfc = unorm2_getNFCInstance(&error);
    if (U_FAILURE(error) || units.empty()) return units;
    std::u16string out;
    const auto length = static_cast<int32_t>(units.size());
    int32_t i = 0;
    UChar32 base = 0;
    U16_NEXT(units.data(), i, length, base);
    while (i < length) {
        UChar32 next = 0;
        U16_NEXT(units.data(), i, length, next);
        UChar32 composite = isNonspacingMark(next) ? unorm2_composePair(nfc, base, next) : -1;
        if (composite < 0) appendCodePoint(out, base);
        base = composite < 0 ? next : composite;
    }
    appendCodePoint(out, base);
    return out;
}

} // namespace

Text utf8BytesToText(const Bytes& b) {
    const auto* data = reinterpret_cast<const char*>(b.data());
    return convertBytes(data, lengthBeforeNul(data, b.size()), codePageUtf8, codePageGbk);
}

Bytes textToUtf16(const Text& t, int codePage) {
    if (!converter(codePage)) return {};
    return bytesOf(widen(t, codePage) + u'\0');
}

Text utf16ToText(const Bytes& u, int codePage) {
    std::u16string units = unitsOf(u);
    units.resize(std::min(units.size(), units.find(u'\0')));
    return narrow(units, codePage);
}

Text gbkToUtf8(const Text& t) {
    return convertBytes(t.data(), lengthBeforeNul(t.data(), t.size()), codePageGbk, codePageUtf8);
}

Text utf8ToGbk(const Text& t) {
    return convertBytes(t.data(), lengthBeforeNul(t.data(), t.size()), codePageUtf8, codePageGbk);
}

Text utf16ToGbk(const Bytes& u) {
    return narrow(composePairs(unitsOf(u)), codePageGbk);
}

} // namespace quorvel
