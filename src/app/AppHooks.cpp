#include "app/AppHooks.h"

#include "service/LinkResolution.h"
#include "service/SongSearch.h"
#include "service/UpdateCheck.h"

namespace quorvel {

AppHooks& appHooks() {
    static AppHooks hooks{runSearch, resolveLink, checkForUpdate};
    return hooks;
}

} // namespace quorvel
