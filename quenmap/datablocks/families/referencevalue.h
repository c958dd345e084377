#pragma once
// The reference-value family: one u32 value at byte 12 behind a count at byte
// 8 (the reference oscillators, the PLL DAC and the baseboard value). The
// value setter reads the value back and reports a mismatch.

#include "catalogueblock.h"

namespace quenmap {

class ReferenceValueBlock : public CatalogueBlock {
  public:
    static constexpr std::size_t kSize = 16;
    static constexpr std::size_t kValueOffset = 12;

    // Index 0 only; 0 for any other.
    std::uint32_t value(std::size_t index) const;
    // Stores the value at index 0, reads it back and on a mismatch reports
    // 1040002 with the class's detail text. Refreshes the checksum in every
    // case. Answers 0, or -1 on a mismatch or an index other than 0.
    int setValue(std::uint32_t value, std::size_t index);

    // Some classes also take a block that was written without a checksum:
    // the image carries the class's id, length 16 and header word 3 zero.
    int setFromImage(const std::uint8_t* image, std::size_t available) override;

  protected:
    ReferenceValueBlock(std::uint8_t flag, CountKind kind, std::uint16_t id,
                        const char* failureDetail, bool acceptsUncheckedImage);
    void loadPayload(const std::uint8_t* image) override;

  private:
    bool isUncheckedImage(const std::uint8_t* image, std::size_t available) const;

    const char* failureDetail_;
    bool acceptsUncheckedImage_;
};

}  // namespace quenmap
