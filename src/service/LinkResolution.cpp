#include "service/LinkResolution.h"

namespace quorvel {

void resolveLink(const Text&) {}
Text fetchServiceText(const Text&) { return {}; }
Text fetchDecodedText(const Text&) { return {}; }

} // namespace quorvel
