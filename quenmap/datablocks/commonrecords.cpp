#include "commonrecords.h"

#include "text/recordtext.h"

namespace quenmap {

namespace {
constexpr std::size_t kCodesOffset = 8;
constexpr std::size_t kDepartmentOffset = 8;
}  // namespace

HwDatablockModification::HwDatablockModification(std::uint8_t flag) : HwDatablock(flag) {
    initialise(kId, kSize);
}

std::uint16_t HwDatablockModification::serviceCode(std::size_t index) const {
    return index < kCodeCount ? readU16(bytes_, kCodesOffset + 2 * index) : 0;
}

void HwDatablockModification::setServiceCode(std::uint16_t value, std::size_t index) {
    if (index < kCodeCount) storeU16(kCodesOffset + 2 * index, value);
}

std::ostream& HwDatablockModification::writeText(std::ostream& out) const {
    return writeModificationText(out, *this);
}

HwDatablockServiceData::HwDatablockServiceData(std::uint16_t blockId, std::uint8_t flag)
    : HwDatablock(flag) {
    initialise(blockId, kSize);
    for (std::size_t i = 0; i < kDepartmentBytes; ++i) bytes_[kDepartmentOffset + i] = '0';
}

std::string HwDatablockServiceData::department() const {
    std::string text;
    for (std::size_t i = 0; i < kDepartmentBytes; ++i) {
        char c = static_cast<char>(readU8(bytes_, kDepartmentOffset + i));
        if (c == '\0') break;
        text.push_back(c);
    }
    return text;
}

void HwDatablockServiceData::setDepartment(const std::string& text) {
    std::uint8_t field[kDepartmentBytes] = {};
    for (std::size_t i = 0; i + 1 < kDepartmentBytes && i < text.size(); ++i) {
        field[i] = static_cast<std::uint8_t>(text[i]);
    }
    storeBytes(kDepartmentOffset, field, kDepartmentBytes);
}

std::ostream& HwDatablockServiceData::writeText(std::ostream& out) const {
    return writeServiceText(out, *this);
}

HwDatablockStatistic::HwDatablockStatistic(std::uint8_t flag) : HwDatablock(flag) {
    initialise(kId, kSize);
}

std::ostream& HwDatablockStatistic::writeText(std::ostream& out) const {
    return writeStatisticText(out, *this);
}

}  // namespace quenmap
