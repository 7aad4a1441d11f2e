#pragma once
// A text accumulated by appends in a zero-filled block that grows by whole blocks.
#include <cstdint>
#include <memory>

#include "text/Text.h"

namespace quorvel {

class TextBuilder {
  public:
    TextBuilder();
    ~TextBuilder();
    TextBuilder(const TextBuilder&) = delete;
    TextBuilder& operator=(const TextBuilder&) = delete;

    // Allocates the first block; runs once, from the constructor.
    void createStore();
    // Frees the block; runs from the destructor.
    void releaseStore();
    // Empties the text, shrinking the block back to the block size. True on success.
    bool reset();
    // Raises the block size to size (below 1024 changes nothing); the block size now in force,
    // or -1 when the block could not grow.
    std::int32_t setBlockSize(std::int32_t size);
    // The text's length in bytes, or -1 when there is no block.
    std::int32_t textLength() const;
    // count bytes from the 0-based start (negative: from the end); count 0: to the end.
    Text getText(std::int32_t start = 0, std::int32_t count = 0) const;
    // Appends t; false for an empty t or when the block could not grow.
    bool append(const Text& t);
    // Appends one byte (not NUL); the same as append(charText(byte)).
    bool appendByte(char byte);
    // The block's size in bytes (0 when there is none).
    std::int32_t capacity() const;
    std::int32_t blockSize() const { return blockSize_; }

  private:
    // Replaces the block by a fresh one of size zero bytes; false (and no block) on failure.
    bool allocate(std::int64_t size);
    // Raises the capacity to newCapacity, keeping the text; false on failure.
    bool grow(std::int64_t newCapacity);

    std::int32_t blockSize_ = 0;
    std::unique_ptr<char[]> block_;
    // The capacity callers see follows the block-size steps; the memory behind it grows
    // geometrically so that long runs of appends copy each byte a bounded number of times.
    std::int32_t capacity_ = 0;
    std::size_t allocated_ = 0;
    std::int32_t length_ = 0; // cached; always the position of the block's first zero byte
};

} // namespace quorvel
