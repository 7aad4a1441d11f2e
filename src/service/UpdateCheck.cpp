#include "service/UpdateCheck.h"

namespace quorvel {

const Text& currentVersion() {
    static const Text version = "1.0";
    return version;
}

void checkForUpdate() {}

} // namespace quorvel
