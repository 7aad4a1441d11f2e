#include "json/JsonBlockPool.h"

#include <mutex>
#include <new>
#include <vector>

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
            return JsonBlock(block, JsonBlockRelease{bytes});
        }
    }
    return JsonBlock(::operator new(bytes), JsonBlockRelease{bytes});
}

} // namespace quorvel
