// Every conversion gives text without NUL, and the direct UTF-8 to GBK path agrees with the
// way through UTF-16.
#include <cstdlib>

#include "text/CodePage.h"

using namespace quorvel;

namespace {

void requireNoNul(const Text& t) {
    if (t.find('\0') != Text::npos) std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Bytes bytes(data, data + size);
    const Text text = textInBytes(bytes);
    const Text gbk = utf8BytesToText(bytes);
    requireNoNul(gbk);
    if (gbk != utf8ToGbk(text)) std::abort();
    if (gbk != utf16ToText(textToUtf16(text), codePageGbk)) std::abort();
    const Text utf8 = gbkToUtf8(text);
    requireNoNul(utf8);
    if (utf8 != utf16ToText(textToUtf16(text, codePageGbk), codePageUtf8)) std::abort();
    requireNoNul(utf16ToGbk(bytes));
    requireNoNul(utf16ToText(bytes));
    return 0;
}
