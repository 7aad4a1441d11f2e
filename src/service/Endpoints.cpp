#include "service/Endpoints.h"

#include <cstdlib>

namespace quorvel {

namespace {

// The environment variable's value when it is set and not empty, else the built-in one.
Text setting(const char* variable, const char* builtIn) {
    const char* value = std::getenv(variable);
    return value && *value ? Text(value) : Text(builtIn);
}

} // namespace

Text searchHost() {
    return setting("QUORVEL_SEARCH_HOST", QUORVEL_DEFAULT_SEARCH_HOST);
}

Text playHost() {
    return setting("QUORVEL_PLAY_HOST", QUORVEL_DEFAULT_PLAY_HOST);
}

Text updatePageUrl() {
    return setting("QUORVEL_UPDATE_URL", QUORVEL_DEFAULT_UPDATE_URL);
}

const Text& fallbackDownloadUrl() {
    static const Text address = "https://quorvel.github.io/";
    return address;
}

} // namespace quorvel
