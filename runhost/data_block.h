#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace runhost {

// Layout of the block that closes every PKF archive.
namespace block_layout {
constexpr std::size_t kBlockSizeOffset = 0;
constexpr std::size_t kMagicOffset = 4;
constexpr std::size_t kMagicSize = 24;
constexpr std::size_t kMajorOffset = 36;
constexpr std::size_t kMinorOffset = 40;
constexpr std::size_t kVersionSize = 4;
constexpr std::size_t kUuidOffset = 44;
constexpr std::size_t kUuidSize = 128;
constexpr std::size_t kMainFlagOffset = 172;
constexpr std::size_t kEmbeddedValueOffset = 176;
constexpr std::size_t kEmbeddedValueHighOffset = 180;
constexpr std::size_t kUpdaterOffset = 184;
constexpr std::size_t kStartMessageOffset = 224;
constexpr std::size_t kCompleteMessageOffset = 228;
constexpr std::size_t kComponentTextOffset = 232;
constexpr std::size_t kComponentListOffset = 236;
constexpr std::size_t kMainTextOffset = 240;
constexpr std::size_t kTextAreaOffset = 244;
constexpr std::size_t kHeaderSize = 1024;
constexpr std::size_t kTextAreaEnd = 8188;
constexpr std::size_t kTrailerSize = 4;
constexpr std::uint32_t kEmbeddedBlockLength = 8192;
// The magic together with its terminating zero byte: 24 bytes.
extern const char kMagic[kMagicSize];
}  // namespace block_layout

// The parsed data block. Texts of the text area keep all their stored bytes;
// the version texts end at their first zero byte.
struct DataBlock {
    bool valid = false;
    std::uint32_t blockSize = 0;
    std::uint32_t embeddedValue = 0;
    std::uint32_t embeddedValueHigh = 0;
    std::string magic;
    std::string majorVersion;
    std::string minorVersion;
    std::string updaterVersion;
    std::string uuid;
    std::string startMessage;
    std::string completeMessage;
    std::string componentText;
    std::vector<std::string> componentList;
    std::string mainText;
    std::uint32_t mainFlag = 0;
};

// Receives the verbose dump of every valid block read; empty: no dump.
using DumpSink = std::function<void(const std::string& dump)>;

// The part of a stored text before its first zero byte, as the runtime and the
// console see it.
std::string UpToFirstZero(const std::string& text);

// Parses the bytes of one block (the trailer's L bytes that end the file).
DataBlock ParseDataBlock(const std::vector<std::uint8_t>& block);

// Reads the block at the end of the file; a missing or unreadable file, or a
// block that does not fit the file, gives an empty, not-valid record.
DataBlock ReadDataBlock(const std::string& path, const DumpSink& dump = DumpSink());

// True when the file ends with an embedded-size block that carries the magic.
bool IsEmbedded(const std::string& executablePath, const DumpSink& dump = DumpSink());

// The verbose dump, one line each, every line ending in a line feed.
std::string FormatDataBlockDump(const DataBlock& block);

}  // namespace runhost
