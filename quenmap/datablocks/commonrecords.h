#pragma once
// The three service-history records that every board image carries after its
// ident block: modification (100), service (200-209) and statistics (300).

#include <string>

#include "hwdatablock.h"

namespace quenmap {

class HwDatablockModification : public HwDatablock {
  public:
    static constexpr std::uint16_t kId = 100;
    static constexpr std::size_t kSize = 28;
    static constexpr std::size_t kCodeCount = 10;

    explicit HwDatablockModification(std::uint8_t flag = 1);
    // A code's low 14 bits are a number, its top 2 bits a state.
    std::uint16_t serviceCode(std::size_t index) const;
    void setServiceCode(std::uint16_t value, std::size_t index);
    std::size_t blockSize() const override { return kSize; }
    const char* className() const override { return "HwDatablockModification"; }
    std::ostream& writeText(std::ostream& out) const override;
};

class HwDatablockServiceData : public HwDatablock {
  public:
    static constexpr std::uint16_t kFirstId = 200;
    static constexpr std::uint16_t kLastId = 209;
    static constexpr std::size_t kSize = 24;
    static constexpr std::size_t kDepartmentBytes = 6;

    explicit HwDatablockServiceData(std::uint16_t blockId = kFirstId, std::uint8_t flag = 1);
    // The department text up to its first NUL.
    std::string department() const;
    std::uint16_t serviceDate() const { return readU16(bytes_, 14); }
    // Operating hours as h * 1000000 + fraction.
    std::uint32_t operatingHours() const { return readU32(bytes_, 16); }
    std::uint16_t repairNumber() const { return readU16(bytes_, 20); }
    std::uint16_t serviceCode() const { return readU16(bytes_, 22); }

    // Keeps at most 5 characters and a terminating NUL.
    void setDepartment(const std::string& text);
    void setServiceDate(std::uint16_t value) { storeU16(14, value); }
    void setOperatingHours(std::uint32_t value) { storeU32(16, value); }
    void setRepairNumber(std::uint16_t value) { storeU16(20, value); }
    void setServiceCode(std::uint16_t value) { storeU16(22, value); }

    std::size_t blockSize() const override { return kSize; }
    const char* className() const override { return "HwDatablockServiceData"; }
    std::ostream& writeText(std::ostream& out) const override;
};

class HwDatablockStatistic : public HwDatablock {
  public:
    static constexpr std::uint16_t kId = 300;
    static constexpr std::size_t kSize = 12;

    explicit HwDatablockStatistic(std::uint8_t flag = 1);
    std::uint32_t operatingHours() const { return readU32(bytes_, 8); }
    void setOperatingHours(std::uint32_t value) { storeU32(8, value); }
    std::size_t blockSize() const override { return kSize; }
    const char* className() const override { return "HwDatablockStatistic"; }
    std::ostream& writeText(std::ostream& out) const override;
};

// Operating hours are kept as hours * 1000000 + fraction.
constexpr std::uint32_t kHoursScale = 1000000;

}  // namespace quenmap
