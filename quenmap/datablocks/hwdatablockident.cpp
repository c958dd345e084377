#include "hwdatablockident.h"

#include "text/recordtext.h"

namespace quenmap {

HwIdentRecord::HwIdentRecord(std::uint16_t blockId, std::uint8_t flag) : HwDatablock(flag) {
    initialise(blockId, kIdentSize);
}

std::string HwIdentRecord::unitName() const {
    std::string name;
    for (std::size_t i = 0; i < kUnitNameBytes; ++i) {
        char c = static_cast<char>(readU8(bytes_, kUnitNameOffset + i));
        if (c == '\0') break;
        name.push_back(c);
    }
    return name;
}

void HwIdentRecord::setUnitName(const std::string& name) {
    std::uint8_t field[kUnitNameBytes] = {};
    for (std::size_t i = 0; i < kUnitNameBytes && i < name.size(); ++i) {
        field[i] = static_cast<std::uint8_t>(name[i]);
    }
    storeBytes(kUnitNameOffset, field, kUnitNameBytes);
}

int HwIdentRecord::setFromImage(const std::uint8_t* image, std::size_t available) {
    // The ident blocks carry the alignment in header word 3 and keep it.
    if (!beginLoad(image, available, true)) return kRejected;
    copyFromImage(image, 8, kIdentSize - 8);
    return finishLoad(image);
}

std::ostream& HwIdentRecord::writeText(std::ostream& out) const {
    return writeIdentText(out, *this);
}

HwDatablockIdent::HwDatablockIdent(std::uint8_t flag) : HwIdentRecord(kIdentId, flag) {}

HwDatablockMiscIdent::HwDatablockMiscIdent(std::uint16_t blockId, std::uint8_t flag)
    : HwIdentRecord(blockId, flag), constructedId_(blockId) {}

std::uint16_t packDate(std::uint32_t year, std::uint32_t month, std::uint32_t day) {
    return static_cast<std::uint16_t>(((year - 1980u) << 9) + (month << 5) + day);
}

}  // namespace quenmap
