#include "web/WebRequest.h"

#include <atomic>

namespace quorvel {

namespace {
std::atomic<const GzipCodec*> sharedCodec{nullptr};
}

void setSharedGzipCodec(const GzipCodec* codec) { sharedCodec = codec; }
const GzipCodec* sharedGzipCodec() { return sharedCodec; }

} // namespace quorvel
