#pragma once
// Storage blocks for node tables. Blocks of the standard size that a table frees are kept, up to
// a bound, and handed to the next table: a large document then reuses memory whose pages are
// already mapped instead of waiting for the system to hand out and clear fresh ones.
#include <cstddef>
#include <memory>

namespace quorvel {

constexpr std::size_t jsonBlockBytes = 64 * 1024;

// Gives a block back to the pool, or to the system when it is not of the standard size or the
// pool is full.
struct JsonBlockRelease {
    std::size_t bytes = jsonBlockBytes;
    void operator()(void* block) const;
};

using JsonBlock = std::unique_ptr<void, JsonBlockRelease>;

// Uninitialised storage of at least jsonBlockBytes bytes (exactly bytes when larger), suitably
// aligned for any object; safe to call from any thread.
JsonBlock takeJsonBlock(std::size_t bytes = jsonBlockBytes);

} // namespace quorvel
