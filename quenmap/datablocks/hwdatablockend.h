#pragma once
// The END block closes every image: the four bytes FF FF 00 00, no checksum.

#include "hwdatablock.h"

namespace quenmap {

class HwDatablockEnd : public HwDatablock {
  public:
    HwDatablockEnd();

    std::uint16_t calcChecksum() override { return 0; }
    std::uint16_t length() const override;
    std::uint16_t checksum() const override { return 0; }
    bool verify() const override { return true; }
    void setChecksum(std::uint16_t) override {}
    std::ostream& writeText(std::ostream& out) const override;
    int setFromImage(const std::uint8_t* image, std::size_t available) override;
    std::size_t blockSize() const override { return 4; }
    const char* className() const override { return "HwDatablockEnd"; }

    // The END block's own image checksum and image check: it needs none and
    // always passes.
    virtual std::uint16_t endImageChecksum(const std::uint8_t* bytes, std::uint16_t length) const;
    virtual bool verifyEndImage(const std::uint8_t* bytes, std::uint16_t length) const;
};

}  // namespace quenmap
