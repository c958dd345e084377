#include <openssl/evp.h>

#include <cstdio>

#include "model/hex.h"
#include "platform.h"

namespace quenview::platform {

std::string sha256Hex(const std::uint8_t* data, std::size_t size) {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int digestLength = 0;
    if (EVP_Digest(data, size, digest, &digestLength, EVP_sha256(), nullptr) != 1) return {};
    return hexOf(digest, digestLength);
}

void useBinaryStandardOutput() {}

bool replaceFile(const std::string& from, const std::string& to) {
    return std::rename(from.c_str(), to.c_str()) == 0;
}

}  // namespace quenview::platform
