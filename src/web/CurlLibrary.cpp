#include "web/CurlLibrary.h"

#if QUORVEL_LOAD_CURL_ON_FIRST_USE
#include <dlfcn.h>
#endif

namespace quorvel {

namespace {

#if QUORVEL_LOAD_CURL_ON_FIRST_USE
bool fill(CurlFunctions& f) {
    // Never unloaded: transfers may run until the process ends.
    void* library = dlopen(QUORVEL_CURL_SONAME, RTLD_NOW | RTLD_LOCAL);
    if (!library) return false;
#define QUORVEL_CURL_LOOKUP(name)                                                                  \
    f.name = reinterpret_cast<decltype(f.name)>(dlsym(library, "curl_" #name));                    \
    if (!f.name) return false;
    QUORVEL_CURL_FUNCTIONS(QUORVEL_CURL_LOOKUP)
#undef QUORVEL_CURL_LOOKUP
    return true;
}
#else
bool fill(CurlFunctions& f) {
#define QUORVEL_CURL_LINKED(name) f.name = &curl_##name;
    QUORVEL_CURL_FUNCTIONS(QUORVEL_CURL_LINKED)
#undef QUORVEL_CURL_LINKED
    return true;
}
#endif

} // namespace

const CurlFunctions* curlLibrary() {
    static const CurlFunctions* const loaded = []() -> const CurlFunctions* {
        static CurlFunctions functions;
        if (!fill(functions) || functions.global_init(CURL_GLOBAL_DEFAULT) != CURLE_OK)
            return nullptr;
        return &functions;
    }();
    return loaded;
}

} // namespace quorvel
