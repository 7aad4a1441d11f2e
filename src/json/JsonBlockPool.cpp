#include "json/JsonBlockPool.h"

#include <mutex>
#include <new>
#include <vector>

#if __has_include(<sanitizer/asan_interface.h>)
#include <sanitizer/asan_interface.h>
#endif
#ifndef ASAN_POISON_MEMORY_REGION
#define ASAN_POISON_MEMORY_REGION(address, size) ((void)(address), (void)(size))
#define ASAN_UNPOISON_MEMORY_REGION(address, size) ((void)(address), (void)(size))
#endif

namespace quorvel {

namespace {

// Enough for the node table of a document of a few MiB.
constexpr std::size_t maxKeptBlocks = 128;

struct Pool {
    std::mutex mutex;
    std::vector<void*> blocks;
};

Pool& pool() {
    // Never destroyed: tables may be freed by other objects' destructors at exit.
    static Pool* const instance = [] {
        auto* p = new Pool;
        p->blocks.reserve(maxKeptBlocks);
        return p;
    }();
    return *instance;
}

} // namespace

void JsonBlockRelease::operator()(void* block) const {
    if (bytes == jsonBlockBytes) {
        Pool& p = pool();
        const std::lock_guard lock(p.mutex);
        if (p.blocks.size() < maxKeptBlocks) {
            // A kept block stays out of bounds for the address sanitizer until it is taken again.
            ASAN_POISON_MEMORY_REGION(block, jsonBlockBytes);
            p.blocks.push_back(block);
            return;
        }
    }
    ::operator delete(block);
}

JsonBlock takeJsonBlock(std::size_t bytes) {
    if (bytes < jsonBlockBytes) bytes = jsonBlockBytes;
    if (bytes == jsonBlockBytes) {
        Pool& p = pool();
        const std::lock_guard lock(p.mutex);
        if (!p.blocks.empty()) {
            void* block = p.blocks.back();
            p.blocks.pop_back();
            ASAN_UNPOISON_MEMORY_REGION(block, jsonBlockBytes);
            return JsonBlock(block, JsonBlockRelease{bytes});
        }
    }
    return JsonBlock(::operator new(bytes), JsonBlockRelease{bytes});
}

} // namespace quorvel
