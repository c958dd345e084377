#pragma once
// The ident blocks describe the board and its EEPROM. HwDatablockIdent is the
// head block of every image (id 2, or the alternate id 10 of a rewritten
// STEREOCODER ident); HwDatablockMiscIdent carries the same record for the
// stream options (ids 10503 and 10504).

#include <string>

#include "hwdatablock.h"

namespace quenmap {

constexpr std::uint16_t kIdentId = 2;
constexpr std::uint16_t kAlternateIdentId = 10;
constexpr std::size_t kIdentSize = 44;
constexpr std::size_t kUnitNameOffset = 30;
constexpr std::size_t kUnitNameBytes = 14;

// The record shared by both ident classes.
class HwIdentRecord : public HwDatablock {
  public:
    std::uint16_t alignment() const { return headerWord3(); }
    std::uint32_t eepromSize() const { return readU32(bytes_, 8); }
    std::uint32_t partNumber() const { return readU32(bytes_, 12); }
    std::uint8_t partVariant() const { return readU8(bytes_, 16); }
    std::uint8_t hardwareCode() const { return readU8(bytes_, 17); }
    std::uint16_t productIndex() const { return readU16(bytes_, 18); }
    std::uint32_t serialNumber() const { return readU32(bytes_, 20); }
    std::uint16_t productDate() const { return readU16(bytes_, 24); }
    std::uint16_t readCode() const { return readU16(bytes_, 26); }
    std::uint16_t testInstruction() const { return readU16(bytes_, 28); }
    // The name field up to its first NUL, at most 14 characters.
    std::string unitName() const;

    void setAlignment(std::uint16_t value) { setHeaderWord3(value); }
    void setEepromSize(std::uint32_t value) { storeU32(8, value); }
    void setPartNumber(std::uint32_t value) { storeU32(12, value); }
    void setPartVariant(std::uint8_t value) { storeU8(16, value); }
    void setHardwareCode(std::uint8_t value) { storeU8(17, value); }
    void setProductIndex(std::uint16_t value) { storeU16(18, value); }
    void setSerialNumber(std::uint32_t value) { storeU32(20, value); }
    void setProductDate(std::uint16_t value) { storeU16(24, value); }
    void setReadCode(std::uint16_t value) { storeU16(26, value); }
    void setTestInstruction(std::uint16_t value) { storeU16(28, value); }
    // Copies at most 14 characters into the name field, NUL-filling the rest.
    void setUnitName(const std::string& name);

    int setFromImage(const std::uint8_t* image, std::size_t available) override;
    std::size_t blockSize() const override { return kIdentSize; }
    std::ostream& writeText(std::ostream& out) const override;

  protected:
    HwIdentRecord(std::uint16_t blockId, std::uint8_t flag);
};

class HwDatablockIdent : public HwIdentRecord {
  public:
    explicit HwDatablockIdent(std::uint8_t flag = 1);
    const char* className() const override { return "HwDatablockIdent"; }
};

class HwDatablockMiscIdent : public HwIdentRecord {
  public:
    static constexpr std::uint16_t kStreamOptId = 10503;
    static constexpr std::uint16_t kStreamAuxId = 10504;

    explicit HwDatablockMiscIdent(std::uint16_t blockId, std::uint8_t flag = 1);
    std::uint16_t constructedId() const { return constructedId_; }
    const char* className() const override { return "HwDatablockMiscIdent"; }

  private:
    std::uint16_t constructedId_;
};

// Packed dates: bits 9-15 year - 1980, bits 5-8 month, bits 0-4 day.
std::uint16_t packDate(std::uint32_t year, std::uint32_t month, std::uint32_t day);

}  // namespace quenmap
