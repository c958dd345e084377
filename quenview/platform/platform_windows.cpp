#include <windows.h>
// windows.h first: bcrypt.h needs its types.
#include <bcrypt.h>
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <vector>

#include "model/hex.h"
#include "platform.h"

namespace quenview::platform {

std::string sha256Hex(const std::uint8_t* data, std::size_t size) {
    BCRYPT_ALG_HANDLE algorithm = nullptr;
    if (BCryptOpenAlgorithmProvider(&algorithm, BCRYPT_SHA256_ALGORITHM, nullptr, 0) != 0) {
        return {};
    }
    unsigned char digest[32];
    BCRYPT_HASH_HANDLE hash = nullptr;
    bool ok = BCryptCreateHash(algorithm, &hash, nullptr, 0, nullptr, 0, 0) == 0;
    // Hashed in pieces: one call takes at most a ULONG of bytes.
    const std::size_t kPiece = 1u << 30;
    for (std::size_t done = 0; ok && done < size; done += kPiece) {
        const std::size_t piece = size - done < kPiece ? size - done : kPiece;
        ok = BCryptHashData(hash, const_cast<PUCHAR>(data + done), static_cast<ULONG>(piece), 0) ==
             0;
    }
    ok = ok && BCryptFinishHash(hash, digest, sizeof digest, 0) == 0;
    if (hash != nullptr) BCryptDestroyHash(hash);
    BCryptCloseAlgorithmProvider(algorithm, 0);
    if (!ok) return {};
    return hexOf(digest, sizeof digest);
}

void useBinaryStandardOutput() {
    std::fflush(stdout);
    _setmode(_fileno(stdout), _O_BINARY);
}

// Replacing a file costs Windows no allocation of its own: nothing to reserve.
void reserveSpace(const std::string&, std::uint64_t) {}

void releaseUnusedSpace(const std::string&) {}

bool replaceFile(const std::string& from, const std::string& to) {
    return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
}

}  // namespace quenview::platform
