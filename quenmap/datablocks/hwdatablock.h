#pragma once
// One EEPROM datablock: an 8-byte header (id, length, checksum, header word 3)
// and a class-specific payload, all little-endian. Every block type derives
// from HwDatablock; the object owns its bytes.

#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <string>

#include "bytes.h"

namespace quenmap {

constexpr std::uint16_t kEndBlockId = 0xFFFF;
constexpr std::size_t kHeaderSize = 8;

// Results of setFromImage.
constexpr int kLoaded = 0;
constexpr int kRejected = 1;

class HwDatablock {
  public:
    explicit HwDatablock(std::uint8_t flag);
    virtual ~HwDatablock();
    HwDatablock(const HwDatablock&) = default;
    HwDatablock& operator=(const HwDatablock&) = default;

    // Checksum a raw image needs: two's complement of the 16-bit sum of its
    // first length/2 words, bytes 4-5 counted as 0.
    virtual std::uint16_t checksumOf(const std::uint8_t* bytes, std::uint16_t length) const;
    // Zeroes the stored checksum and answers the checksum the block needs.
    virtual std::uint16_t calcChecksum();
    virtual std::uint16_t id() const;
    virtual std::uint16_t length() const;
    virtual std::uint16_t checksum() const;
    virtual std::uint16_t headerWord3() const;
    virtual const std::uint8_t* data() const;
    virtual Bytes byteArray() const;
    virtual std::uint32_t attributeA() const;
    virtual std::uint32_t attributeB() const;
    virtual std::uint8_t flag() const;
    virtual Bytes& assignBytes(const HwDatablock& other);
    virtual bool verifyImage(const std::uint8_t* bytes, std::uint16_t length) const;
    virtual bool verify() const;
    virtual void setId(std::uint16_t id);
    virtual void setLength(std::uint16_t length);
    virtual void setChecksum(std::uint16_t checksum);
    virtual void setHeaderWord3(std::uint16_t word);
    virtual bool setData(const std::uint8_t* bytes, std::uint16_t length);
    virtual bool setData(const HwDatablock* other);
    virtual bool setData(const Bytes& bytes);
    virtual bool copyFrom(const HwDatablock* other);
    virtual bool setAttributeA(std::uint32_t value);
    virtual bool setAttributeB(std::uint32_t value);
    virtual bool resize(std::uint32_t size);
    virtual std::ostream& writeText(std::ostream& out) const;

    // Loads the object from a raw block image of at least blockSize() bytes
    // (header included). A shorter buffer is rejected like a checksum failure;
    // nothing beyond `available` bytes is read. Answers kLoaded or kRejected.
    virtual int setFromImage(const std::uint8_t* image, std::size_t available);
    // The class's own block size S, which a load checks and keeps.
    virtual std::size_t blockSize() const { return bytes_.size(); }
    // The class name as the error reporter's detail text shows it.
    virtual const char* className() const { return "HwDatablock"; }

    std::size_t byteCount() const { return bytes_.size(); }
    const Bytes& bytes() const { return bytes_; }

  protected:
    // Stores a field and refreshes the checksum, as every setter does.
    void storeU8(std::size_t offset, std::uint8_t value);
    void storeU16(std::size_t offset, std::uint16_t value);
    void storeU32(std::size_t offset, std::uint32_t value);
    void storeBytes(std::size_t offset, const std::uint8_t* source, std::size_t count);
    void refreshChecksum() { setChecksum(calcChecksum()); }
    // Sizes the block, zero-fills it and writes id and length (the derived
    // constructors' common start).
    void initialise(std::uint16_t id, std::size_t size);

    // The load skeleton: checks S bytes of the image (reporting a failure with
    // the class name), then takes id, length S and header word 3 (the image's
    // own word when keepWord3, else 0). Answers false when rejected.
    bool beginLoad(const std::uint8_t* image, std::size_t available, bool keepWord3);
    // Copies image bytes [offset, offset + count) into the object unchanged.
    void copyFromImage(const std::uint8_t* image, std::size_t offset, std::size_t count);
    // Ends a load by taking the image's checksum word.
    int finishLoad(const std::uint8_t* image);
    void reportRejected() const;

    Bytes bytes_;

  private:
    std::uint8_t flag_;
    std::uint32_t attributeA_ = 0;
    std::uint32_t attributeB_ = 0;
};

// The block detail text of the error reporter: the class name with three
// leading blanks.
std::string classDetail(const HwDatablock& block);

// Writes length() bytes of the block, from data(), to an image stream.
std::ostream& writeBlockImage(std::ostream& out, const HwDatablock& block);

}  // namespace quenmap
