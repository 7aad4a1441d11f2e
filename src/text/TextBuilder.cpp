#include "text/TextBuilder.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <new>

namespace quorvel {

namespace {

constexpr std::int32_t firstBlockSize = 2048;
constexpr std::int32_t smallestBlockSize = 1024;
constexpr std::int64_t largestCapacity = std::numeric_limits<std::int32_t>::max();

} // namespace

TextBuilder::TextBuilder() {
    createStore();
}

TextBuilder::~TextBuilder() {
    releaseStore();
}

void TextBuilder::createStore() {
    if (block_) return;
    blockSize_ = firstBlockSize;
    reset();
}

void TextBuilder::releaseStore() {
    block_.reset();
    allocated_ = 0;
    capacity_ = 0;
    length_ = 0;
}

bool TextBuilder::reset() {
    if (!block_ || capacity_ > blockSize_) return allocate(blockSize_);
    std::memset(block_.get(), 0, static_cast<std::size_t>(length_));
    length_ = 0;
    return true;
}

std::int32_t TextBuilder::setBlockSize(std::int32_t size) {
    if (size < smallestBlockSize) return blockSize_;
    blockSize_ = size;
    bool grown = true;
    if (capacity_ < size)
        grown = grow(size);
    else if (capacity_ - length_ < size)
        grown = grow(std::int64_t{length_} + size);
    if (grown) return blockSize_;
    return length_ == 0 && allocate(blockSize_) ? blockSize_ : -1;
}

std::int32_t TextBuilder::textLength() const {
    return block_ ? length_ : -1;
}

Text TextBuilder::getText(std::int32_t start, std::int32_t count) const {
    if (!block_ || count < 0 || start >= length_) return {};
    std::int64_t from = start < 0 ? std::int64_t{start} + length_ : start;
    if (from < 0) return {};
    std::int64_t rest = length_ - from;
    std::int64_t taken = count == 0 || count > rest ? rest : count;
    return Text(block_.get() + from, static_cast<std::size_t>(taken));
}

bool TextBuilder::append(const Text& t) {
    const void* nul = std::memchr(t.data(), 0, t.size());
    const std::size_t size = nul ? static_cast<const char*>(nul) - t.data() : t.size();
    if (size == 0) return false;
    if (!block_ && !reset()) return false;
    const std::int64_t need = length_ + static_cast<std::int64_t>(size);
    if (need >= capacity_ && !grow(need + blockSize_) &&
        !(length_ == 0 && allocate(need + blockSize_)))
        return false;
    std::memcpy(block_.get() + length_, t.data(), size);
    length_ = static_cast<std::int32_t>(need);
    return true;
}

bool TextBuilder::appendByte(char byte) {
    if (byte == 0) return false;
    if (!block_ || length_ + 1 >= capacity_) return append(Text(1, byte));
    block_[static_cast<std::size_t>(length_++)] = byte;
    return true;
}

std::int32_t TextBuilder::capacity() const {
    return capacity_;
}

bool TextBuilder::allocate(std::int64_t size) {
    releaseStore();
    if (size > largestCapacity) return false;
    block_.reset(new (std::nothrow) char[static_cast<std::size_t>(size)]());
    if (!block_) return false;
    allocated_ = static_cast<std::size_t>(size);
    capacity_ = static_cast<std::int32_t>(size);
    return true;
}

bool TextBuilder::grow(std::int64_t newCapacity) {
    if (newCapacity > largestCapacity) return false;
    const auto wanted = static_cast<std::size_t>(newCapacity);
    if (wanted > allocated_) {
        // Memory beyond the text is kept zero, so a later capacity step needs no filling.
        const std::size_t size = std::max(wanted, allocated_ * 2);
        std::unique_ptr<char[]> fresh(new (std::nothrow) char[size]());
        if (!fresh) return false;
        if (block_) std::memcpy(fresh.get(), block_.get(), static_cast<std::size_t>(length_));
        block_ = std::move(fresh);
        allocated_ = size;
    }
    capacity_ = static_cast<std::int32_t>(newCapacity);
    return true;
}

} // namespace quorvel
