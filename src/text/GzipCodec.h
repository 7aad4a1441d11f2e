#pragma once
#include "text/Text.h"

namespace quorvel {

// Decodes gzip (RFC 1952) bodies; one codec serves every thread.
class GzipCodec {
  public:
    // Decoded output stops counting here: a body that expands beyond it gives empty Bytes.
    static constexpr std::size_t maxOutputBytes = 64u << 20;

    GzipCodec();
    // True when the codec can decode.
    bool loaded() const { return loaded_; }
    // The decoded body, or empty Bytes when nothing could be decoded; output produced before a
    // corrupt point is kept, and every member of a multi-member stream is decoded.
    Bytes decompress(const Bytes& body) const;

  private:
    bool loaded_ = false;
};

} // namespace quorvel
