#include <fcntl.h>
#include <nettle/sha2.h>
#include <sys/stat.h>
#include <unistd.h>

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

void reserveSpace(const std::string& path, std::uint64_t bytes) {
    const int file = open(path.c_str(), O_WRONLY | O_CLOEXEC);
    if (file < 0) return;
    // The file keeps its size, and a reservation that fails halfway is given
    // back with the rest at the end.
    fallocate(file, FALLOC_FL_KEEP_SIZE, 0, static_cast<off_t>(bytes));
    close(file);
}

void releaseUnusedSpace(const std::string& path) {
    struct stat written {};
    if (stat(path.c_str(), &written) != 0) return;
    // Cutting a file to its own length frees the blocks reserved beyond it;
    // when that fails the report is still whole, only the room stays taken.
    const int ignored = truncate(path.c_str(), written.st_size);
    static_cast<void>(ignored);
}

bool replaceFile(const std::string& from, const std::string& to) {
    return std::rename(from.c_str(), to.c_str()) == 0;
}

}  // namespace quenview::platform
