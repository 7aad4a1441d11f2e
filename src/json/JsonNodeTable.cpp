#include "json/JsonNodeTable.h"

#include <algorithm>
#include <cstring>

namespace quorvel {

void JsonNodeTable::clear() {
    rowBlocks_.clear();
    size_ = 0;
    textBlocks_.clear();
    textBlock_ = nullptr;
    capacity_ = committed_ = used_ = 0;
}

void JsonNodeTable::addRow() {
    if (size_ == rowBlocks_.size() * rowsPerBlock)
        rowBlocks_.push_back(std::make_unique_for_overwrite<Row[]>(rowsPerBlock));
    row(size_++) = Row{};
}

JsonNode JsonNodeTable::node(std::size_t i) const {
    return {Text(name(i)), Text(value(i)), row(i).depth, row(i).type};
}

void JsonNodeTable::appendPending(const char* begin, const char* end) {
    const auto n = static_cast<std::size_t>(end - begin);
    if (n == 0) return;
    if (capacity_ - used_ < n) makeRoom(n);
    std::memcpy(textBlock_ + used_, begin, n);
    used_ += n;
}

void JsonNodeTable::makeRoom(std::size_t more) {
    const std::size_t pendingLength = used_ - committed_;
    const std::size_t size = std::max(textBlockSize, 2 * (pendingLength + more));
    auto block = std::make_unique_for_overwrite<char[]>(size);
    if (pendingLength > 0) std::memcpy(block.get(), textBlock_ + committed_, pendingLength);
    textBlock_ = block.get();
    textBlocks_.push_back(std::move(block));
    capacity_ = size;
    committed_ = 0;
    used_ = pendingLength;
}

std::string_view JsonNodeTable::commitPending() {
    const std::string_view text = pending();
    committed_ = used_;
    return text;
}

void JsonNodeTable::takePendingAsName(std::size_t i) {
    const std::string_view text = commitPending();
    row(i).name = text.data();
    row(i).nameLength = static_cast<std::uint32_t>(text.size());
}

void JsonNodeTable::takePendingAsValue(std::size_t i) {
    const std::string_view text = commitPending();
    row(i).value = text.data();
    row(i).valueLength = static_cast<std::uint32_t>(text.size());
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
