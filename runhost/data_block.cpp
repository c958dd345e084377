#include "data_block.h"

#include <boost/algorithm/string/classification.hpp>
#include <boost/algorithm/string/split.hpp>
#include <cstring>
#include <fstream>

#include "little_endian.h"

namespace runhost {

namespace block_layout {
const char kMagic[kMagicSize] = "V1NCC4000NXC1000NRT1000";
}  // namespace block_layout

namespace {

using namespace block_layout;

// The texts of the text area lie back to front: each one ends where the text
// before it in this list begins (an absent text passes its end on).
struct TextField {
    std::size_t offsetField;
    std::string DataBlock::*target;
};

const TextField kTextFields[] = {
    {kStartMessageOffset, &DataBlock::startMessage},
    {kCompleteMessageOffset, &DataBlock::completeMessage},
    {kComponentTextOffset, &DataBlock::componentText},
    {kComponentListOffset, nullptr},  // split into componentList below
    {kMainTextOffset, &DataBlock::mainText},
};

bool ReadFileTail(std::ifstream& file, std::uint64_t fileSize, std::size_t length,
                  std::vector<std::uint8_t>& out) {
    if (length > fileSize) return false;
    out.assign(length, 0);
    file.clear();
    file.seekg(static_cast<std::streamoff>(fileSize - length), std::ios::beg);
    if (length > 0)
        file.read(reinterpret_cast<char*>(out.data()), static_cast<std::streamsize>(length));
    return static_cast<bool>(file);
}

bool OpenWithSize(const std::string& path, std::ifstream& file, std::uint64_t& size) {
    file.open(path, std::ios::binary);
    if (!file) return false;
    file.seekg(0, std::ios::end);
    const std::streamoff end = file.tellg();
    if (end < 0) return false;
    size = static_cast<std::uint64_t>(end);
    return true;
}

bool ReadTrailer(std::ifstream& file, std::uint64_t fileSize, std::uint32_t& trailer) {
    std::vector<std::uint8_t> bytes;
    if (fileSize < kTrailerSize || !ReadFileTail(file, fileSize, kTrailerSize, bytes)) {
        return false;
    }
    trailer = DecodeU32(bytes.data());
    return true;
}

}  // namespace

std::string UpToFirstZero(const std::string& text) {
    return text.substr(0, text.find('\0'));
}

DataBlock ParseDataBlock(const std::vector<std::uint8_t>& block) {
    DataBlock record;
    // A block shorter than its header cannot be read without leaving the buffer.
    if (block.size() < kHeaderSize) return record;
    const ByteView header(block);

    record.blockSize = header.u32(kBlockSizeOffset);
    record.embeddedValue = header.u32(kEmbeddedValueOffset);
    record.embeddedValueHigh = header.u32(kEmbeddedValueHighOffset);
    record.magic = header.zeroTerminated(kMagicOffset, kHeaderSize);
    if (std::memcmp(block.data() + kMagicOffset, kMagic, kMagicSize) != 0) return record;

    record.majorVersion = UpToFirstZero(header.bytes(kMajorOffset, kVersionSize));
    record.minorVersion = UpToFirstZero(header.bytes(kMinorOffset, kVersionSize));
    record.updaterVersion = UpToFirstZero(header.bytes(kUpdaterOffset, kVersionSize));
    record.uuid = header.bytes(kUuidOffset, kUuidSize);
    record.mainFlag = header.u32(kMainFlagOffset);

    std::size_t end = kTextAreaEnd;
    std::string componentList;
    for (const TextField& field : kTextFields) {
        const std::size_t offset = header.u32(field.offsetField);
        if (offset == 0) continue;
        // Offsets out of order or past the block would make a text reach
        // outside it: such a block is not one we can trust.
        if (offset > end || !header.contains(offset, end - offset)) return DataBlock{};
        std::string text = header.bytes(offset, end - offset);
        if (field.target != nullptr) {
            record.*field.target = std::move(text);
        } else {
            componentList = std::move(text);
        }
        end = offset;
    }
    componentList = UpToFirstZero(componentList);
    if (!componentList.empty()) {
        boost::algorithm::split(record.componentList, componentList,
                                boost::algorithm::is_any_of(","));
    }
    record.valid = true;
    return record;
}

DataBlock ReadDataBlock(const std::string& path, const DumpSink& dump) {
    std::ifstream file;
    std::uint64_t fileSize = 0;
    std::uint32_t length = 0;
    if (!OpenWithSize(path, file, fileSize) || !ReadTrailer(file, fileSize, length)) {
        return DataBlock{};
    }
    std::vector<std::uint8_t> block;
    if (!ReadFileTail(file, fileSize, length, block)) return DataBlock{};
    DataBlock record = ParseDataBlock(block);
    if (record.valid && dump) dump(FormatDataBlockDump(record));
    return record;
}

bool IsEmbedded(const std::string& executablePath, const DumpSink& dump) {
    std::ifstream file;
    std::uint64_t fileSize = 0;
    std::uint32_t length = 0;
    if (!OpenWithSize(executablePath, file, fileSize) || !ReadTrailer(file, fileSize, length) ||
        length != kEmbeddedBlockLength) {
        return false;
    }
    file.close();
    // A block is only valid when its 24 magic bytes matched.
    return ReadDataBlock(executablePath, dump).valid;
}

std::string FormatDataBlockDump(const DataBlock& block) {
    std::string dump;
    dump += "PKF_DataBlock:\n";
    dump += "Data block size = " + std::to_string(block.blockSize) + " bytes\n";
    dump += "version str=" + block.magic + "\n";
    dump += "NRT Major Version:" + block.majorVersion + "\n";
    dump += "NRT Minor Version:" + block.minorVersion + "\n";
    dump += "NRT Updater Version:" + block.updaterVersion + "\n";
    dump += "UUID:" + UpToFirstZero(block.uuid) + "\n";
    dump += "Start message:" + UpToFirstZero(block.startMessage) + "\n";
    dump += "Complete message:" + UpToFirstZero(block.completeMessage) + "\n";
    return dump;
}

}  // namespace runhost
