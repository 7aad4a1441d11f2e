#pragma once
// libcurl's functions, reached through a table that is filled on the first transfer. Where the
// system can load libraries at run time, libcurl is loaded only then: it and the two dozen
// libraries it brings (TLS, Kerberos, LDAP, SSH, ...) would otherwise cost every start of the
// program several milliseconds and megabytes before its window shows.
#include <curl/curl.h>

namespace quorvel {

#define QUORVEL_CURL_FUNCTIONS(F)                                                                  \
    F(global_init)                                                                                 \
    F(easy_init)                                                                                   \
    F(easy_setopt)                                                                                 \
    F(easy_perform)                                                                                \
    F(easy_getinfo)                                                                                \
    F(easy_cleanup)                                                                                \
    F(easy_strerror)                                                                               \
    F(share_init)                                                                                  \
    F(share_setopt)                                                                                \
    F(slist_append)                                                                                \
    F(slist_free_all)

struct CurlFunctions {
#define QUORVEL_CURL_MEMBER(name) decltype(&curl_##name) name = nullptr;
    QUORVEL_CURL_FUNCTIONS(QUORVEL_CURL_MEMBER)
#undef QUORVEL_CURL_MEMBER
};

// The functions of a loaded and globally initialised libcurl, or nullptr when it cannot be
// loaded. Safe to call from any thread; loads at most once.
const CurlFunctions* curlLibrary();

// The loaded library's functions, for code that has already found curlLibrary() non-null.
inline const CurlFunctions& curlApi() {
    return *curlLibrary();
}

} // namespace quorvel
