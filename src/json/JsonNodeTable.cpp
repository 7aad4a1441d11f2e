#include "json/JsonNodeTable.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstring>

#include "json/JsonLiteral.h"

namespace quorvel {

void JsonNodeTable::clear() {
    rowBlocks_.clear();
    size_ = 0;
    textBlocks_.clear();
    textBlock_ = nullptr;
    capacity_ = committed_ = used_ = 0;
}

namespace {

// "[" + n + "]" in buffer; its length.
std::size_t writeElementName(char (&buffer)[16], std::uint32_t n) {
    buffer[0] = '[';
    char* end = std::to_chars(buffer + 1, buffer + sizeof buffer - 1, n).ptr;
    *end++ = ']';
    return static_cast<std::size_t>(end - buffer);
}

} // namespace

Text JsonNodeTable::name(std::size_t i) const {
    const Row& r = row(i);
    if (r.name) return Text(r.name, r.nameLength);
    char buffer[16];
    return Text(buffer, writeElementName(buffer, r.nameLength));
}

std::int64_t JsonNodeTable::elementNumber(std::string_view t) {
    if (t.size() < 3 || t.size() > 12 || t.front() != '[' || t.back() != ']') return -1;
    const std::string_view digits = t.substr(1, t.size() - 2);
    if (digits.size() > 1 && digits.front() == '0') return -1;
    std::int64_t n = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') return -1;
        n = n * 10 + (c - '0');
    }
    return n <= INT32_MAX ? n : -1;
}

std::int32_t JsonNodeTable::type(std::size_t i) const {
    return row(i).type == untypedLiteral ? literalType(value(i)) : row(i).type;
}

JsonNode JsonNodeTable::node(std::size_t i) const {
    return {name(i), Text(value(i)), row(i).depth, type(i)};
}

void JsonNodeTable::makeRoom(std::size_t more) {
    const std::size_t pendingLength = used_ - committed_;
    const std::size_t size = std::max(jsonBlockBytes, 2 * (pendingLength + more));
    JsonBlock block = takeJsonBlock(size);
    auto* text = static_cast<char*>(block.get());
    if (pendingLength > 0) std::memcpy(text, textBlock_ + committed_, pendingLength);
    textBlock_ = text;
    textBlocks_.push_back(std::move(block));
    capacity_ = size;
    committed_ = 0;
    used_ = pendingLength;
}

void JsonNodeTable::setName(std::size_t i, std::string_view t) {
    resetPending();
    appendPending(t.data(), t.data() + t.size());
    takePendingAsName(i);
}

void JsonNodeTable::setValue(std::size_t i, std::string_view t) {
    resetPending();
    appendPending(t.data(), t.data() + t.size());
    takePendingAsValue(i);
}

} // namespace quorvel
