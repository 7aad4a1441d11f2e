#include "BareFetch.h"

#include <curl/curl.h>

namespace quorvel {

namespace {

std::size_t appendBody(char* data, std::size_t size, std::size_t count, void* user) {
    auto* body = static_cast<Bytes*>(user);
    body->insert(body->end(), data, data + size * count);
    return size * count;
}

} // namespace

Bytes bareFetch(const std::string& url) {
    CURL* curl = curl_easy_init();
    Bytes body;
    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, appendBody);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &body);
    curl_easy_perform(curl);
    curl_easy_cleanup(curl);
    return body;
}

} // namespace quorvel
