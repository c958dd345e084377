#include "hwdatablock.h"

#include <ostream>

#include "errorreporter.h"
#include "text/layouttext.h"

namespace quenmap {

namespace {
constexpr std::size_t kIdOffset = 0;
constexpr std::size_t kLengthOffset = 2;
constexpr std::size_t kChecksumOffset = 4;
constexpr std::size_t kWord3Offset = 6;

std::uint16_t negate(std::uint16_t sum) {
    return static_cast<std::uint16_t>(0x10000u - sum);
}
}  // namespace

HwDatablock::HwDatablock(std::uint8_t flag) : bytes_(kHeaderSize, 0), flag_(flag) {
    writeU16(bytes_, kLengthOffset, kHeaderSize);
}

HwDatablock::~HwDatablock() = default;

std::uint16_t HwDatablock::checksumOf(const std::uint8_t* bytes, std::uint16_t length) const {
    if (bytes == nullptr) return 0;
    std::uint32_t sum = sumWords(bytes, length, length / 2);
    if (length >= kChecksumOffset + 2) sum -= bytes[4] | (bytes[5] << 8);
    return negate(static_cast<std::uint16_t>(sum));
}

std::uint16_t HwDatablock::calcChecksum() {
    std::size_t n = length();
    setChecksum(0);
    return negate(sumWords(bytes_.data(), bytes_.size(), n / 2));
}

std::uint16_t HwDatablock::id() const {
    return readU16(bytes_, kIdOffset);
}

std::uint16_t HwDatablock::length() const {
    if (bytes_.size() < 4) return 0;
    if (id() == kEndBlockId) return 4;
    return readU16(bytes_, kLengthOffset);
}

std::uint16_t HwDatablock::checksum() const {
    return readU16(bytes_, kChecksumOffset);
}
std::uint16_t HwDatablock::headerWord3() const {
    return readU16(bytes_, kWord3Offset);
}
const std::uint8_t* HwDatablock::data() const {
    return bytes_.data();
}
Bytes HwDatablock::byteArray() const {
    return bytes_;
}
std::uint32_t HwDatablock::attributeA() const {
    return attributeA_;
}
std::uint32_t HwDatablock::attributeB() const {
    return attributeB_;
}
std::uint8_t HwDatablock::flag() const {
    return flag_;
}

Bytes& HwDatablock::assignBytes(const HwDatablock& other) {
    bytes_ = other.bytes_;
    return bytes_;
}

bool HwDatablock::verifyImage(const std::uint8_t* bytes, std::uint16_t length) const {
    if (length < 2) return true;
    if (bytes == nullptr) return false;
    return sumWords(bytes, length, length / 2) == 0;
}

bool HwDatablock::verify() const {
    int words = static_cast<std::int16_t>(length()) / 2;
    if (words < 1) return true;
    return sumWords(bytes_.data(), bytes_.size(), static_cast<std::size_t>(words)) == 0;
}

void HwDatablock::setId(std::uint16_t value) {
    if (writeU16(bytes_, kIdOffset, value)) refreshChecksum();
}

void HwDatablock::setLength(std::uint16_t value) {
    if (writeU16(bytes_, kLengthOffset, value)) refreshChecksum();
}

void HwDatablock::setChecksum(std::uint16_t value) {
    writeU16(bytes_, kChecksumOffset, value);
}

void HwDatablock::setHeaderWord3(std::uint16_t value) {
    if (writeU16(bytes_, kWord3Offset, value)) refreshChecksum();
}

bool HwDatablock::setData(const std::uint8_t* bytes, std::uint16_t length) {
    if (bytes == nullptr || !verifyImage(bytes, length)) return false;
    bytes_.assign(bytes, bytes + length);
    return true;
}

bool HwDatablock::setData(const HwDatablock* other) {
    if (other == nullptr) return false;
    // A length field beyond the other's bytes must not make the check read further.
    std::uint16_t length = other->length();
    if (length > other->bytes_.size()) return false;
    if (!verifyImage(other->data(), length)) return false;
    bytes_ = other->byteArray();
    return true;
}

bool HwDatablock::setData(const Bytes& bytes) {
    if (bytes.size() > 0xFFFF) return false;
    if (!verifyImage(bytes.data(), static_cast<std::uint16_t>(bytes.size()))) return false;
    bytes_ = bytes;
    return true;
}

bool HwDatablock::copyFrom(const HwDatablock* other) {
    if (other == nullptr) return false;
    bytes_ = other->bytes_;
    return true;
}

bool HwDatablock::setAttributeA(std::uint32_t value) {
    attributeA_ = value;
    return true;
}

bool HwDatablock::setAttributeB(std::uint32_t value) {
    attributeB_ = value;
    return true;
}

bool HwDatablock::resize(std::uint32_t size) {
    bytes_.resize(size, 0);
    return true;
}

// A class without a text form of its own prints by its layout row.
std::ostream& HwDatablock::writeText(std::ostream& out) const {
    return writeTextByLayout(out, *this);
}

int HwDatablock::setFromImage(const std::uint8_t* image, std::size_t available) {
    if (!beginLoad(image, available, false)) return kRejected;
    copyFromImage(image, kHeaderSize, blockSize() - kHeaderSize);
    return finishLoad(image);
}

void HwDatablock::storeU8(std::size_t offset, std::uint8_t value) {
    if (writeU8(bytes_, offset, value)) refreshChecksum();
}

void HwDatablock::storeU16(std::size_t offset, std::uint16_t value) {
    if (writeU16(bytes_, offset, value)) refreshChecksum();
}

void HwDatablock::storeU32(std::size_t offset, std::uint32_t value) {
    if (writeU32(bytes_, offset, value)) refreshChecksum();
}

void HwDatablock::storeBytes(std::size_t offset, const std::uint8_t* source, std::size_t count) {
    if (!fits(bytes_, offset, count)) return;
    for (std::size_t i = 0; i < count; ++i) bytes_[offset + i] = source[i];
    refreshChecksum();
}

void HwDatablock::initialise(std::uint16_t blockId, std::size_t size) {
    bytes_.assign(size, 0);
    writeU16(bytes_, kIdOffset, blockId);
    writeU16(bytes_, kLengthOffset, static_cast<std::uint16_t>(size));
}

bool HwDatablock::beginLoad(const std::uint8_t* image, std::size_t available, bool keepWord3) {
    std::size_t size = blockSize();
    if (image == nullptr || available < size || size > 0xFFFF ||
        !verifyImage(image, static_cast<std::uint16_t>(size))) {
        reportRejected();
        return false;
    }
    if (bytes_.size() != size) bytes_.resize(size, 0);
    // The header words, then one checksum refresh for the three of them.
    writeU16(bytes_, kLengthOffset, static_cast<std::uint16_t>(size));
    writeU16(bytes_, kIdOffset, static_cast<std::uint16_t>(image[0] | (image[1] << 8)));
    writeU16(bytes_, kWord3Offset,
             keepWord3 ? static_cast<std::uint16_t>(image[6] | (image[7] << 8)) : 0);
    refreshChecksum();
    return true;
}

void HwDatablock::copyFromImage(const std::uint8_t* image, std::size_t offset, std::size_t count) {
    if (offset > blockSize() || count > blockSize() - offset) return;
    storeBytes(offset, image + offset, count);
}

int HwDatablock::finishLoad(const std::uint8_t* image) {
    setChecksum(static_cast<std::uint16_t>(image[4] | (image[5] << 8)));
    return kLoaded;
}

void HwDatablock::reportRejected() const {
    ErrorReporter::report(error_codes::kEepromDataCheckFailed, classDetail(*this));
}

std::string classDetail(const HwDatablock& block) {
    return std::string("   ") + block.className();
}

std::ostream& writeBlockImage(std::ostream& out, const HwDatablock& block) {
    std::size_t n = block.length();
    if (n > block.byteCount()) n = block.byteCount();
    return out.write(reinterpret_cast<const char*>(block.data()), static_cast<std::streamsize>(n));
}

}  // namespace quenmap
