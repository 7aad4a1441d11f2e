#include "service/SongSearch.h"

namespace quorvel {

void runSearch() {}

} // namespace quorvel
