#include <nettle/sha2.h>

#include <cstdio>

#include "model/hex.h"
#include "platform.h"

namespace quenview::platform {

std::string sha256Hex(const std::uint8_t* data, std::size_t size) {
    sha256_ctx context;
    sha256_init(&context);
    sha256_update(&context, size, data);
    std::uint8_t digest[SHA256_DIGEST_SIZE];
    sha256_digest(&context, sizeof digest, digest);
    return hexOf(digest, sizeof digest);
}

void useBinaryStandardOutput() {}

bool replaceFile(const std::string& from, const std::string& to) {
    return std::rename(from.c_str(), to.c_str()) == 0;
}

}  // namespace quenview::platform
