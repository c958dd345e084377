#include "inspect.h"

#include <cstdio>
#include <map>
#include <memory>

#include "datablocks/blockcatalogue.h"
#include "datablocks/commonrecords.h"
#include "datablocks/hwdatablockident.h"
#include "model/hex.h"
#include "views/blockcontent.h"

namespace quenview {

namespace {

using quenmap::HwDatablock;
using quenmap::kHeaderSize;

std::uint16_t u16At(const std::uint8_t* at) {
    return static_cast<std::uint16_t>(at[0] | (at[1] << 8));
}

std::string twoGroups(unsigned value) {
    char text[16];
    std::snprintf(text, sizeof text, "%02u.%02u", value / 100, value % 100);
    return text;
}

void summariseIdent(const quenmap::HwIdentRecord& ident, BoardSummary& board) {
    board.present = true;
    // The name is stored blank-padded to 13 characters.
    board.unitName = ident.unitName();
    board.unitName.erase(board.unitName.find_last_not_of(' ') + 1);
    char part[40];
    std::snprintf(part, sizeof part, "%lu.%04lu.%02u",
                  static_cast<unsigned long>(ident.partNumber() / 10000),
                  static_cast<unsigned long>(ident.partNumber() % 10000),
                  static_cast<unsigned>(ident.partVariant()));
    board.partNumber = part;
    board.serialNumber = ident.serialNumber();
    board.productDate = dateText(ident.productDate());
    board.hardwareCode = ident.hardwareCode();
    board.productIndex = twoGroups(ident.productIndex());
    board.testInstruction = twoGroups(ident.testInstruction());
    board.dataVersion = ident.testInstruction() / 100u;
    board.eepromSize = ident.eepromSize();
}

// The records of the service history, from the blocks that hold them.
void collectService(const HwDatablock& object, ServiceHistory& service) {
    if (auto* record = dynamic_cast<const quenmap::HwDatablockServiceData*>(&object)) {
        ServiceRecord entry;
        entry.id = record->id();
        entry.department = record->department();
        entry.date = dateText(record->serviceDate());
        entry.hours = record->operatingHours() / quenmap::kHoursScale;
        entry.hoursFraction = record->operatingHours() % quenmap::kHoursScale;
        entry.repairNumber = record->repairNumber();
        entry.serviceCode = record->serviceCode();
        service.records.push_back(entry);
    } else if (auto* modification =
                   dynamic_cast<const quenmap::HwDatablockModification*>(&object)) {
        for (std::size_t i = 0; i < quenmap::HwDatablockModification::kCodeCount; ++i) {
            const std::uint16_t code = modification->serviceCode(i);
            service.modificationCodes.push_back(
                {static_cast<std::uint16_t>(code & 0x3FFF), static_cast<std::uint8_t>(code >> 14)});
        }
    } else if (auto* statistic = dynamic_cast<const quenmap::HwDatablockStatistic*>(&object)) {
        service.statisticsHours =
            static_cast<double>(statistic->operatingHours()) / quenmap::kHoursScale;
    }
}

TrailingPattern trailingPattern(const std::uint8_t* begin, std::size_t count) {
    if (count == 0) return TrailingPattern::None;
    bool erased = true;
    bool zero = true;
    for (std::size_t i = 0; i < count; ++i) {
        erased = erased && begin[i] == 0xFF;
        zero = zero && begin[i] == 0;
    }
    return erased ? TrailingPattern::Erased
           : zero ? TrailingPattern::Zero
                  : TrailingPattern::Content;
}

// Loads a block into its object. A block whose checksum fails is loaded from
// a copy with the checksum it needs, so that what it holds can be shown.
BlockState loadForView(HwDatablock& object, const std::uint8_t* at, std::size_t length,
                       std::uint16_t& computed) {
    const std::size_t size = object.blockSize();
    if (length < size) return BlockState::Unloadable;
    computed = object.checksumOf(at, static_cast<std::uint16_t>(size));
    if (object.setFromImage(at, length) == quenmap::kLoaded) return BlockState::Verified;
    std::vector<std::uint8_t> mended(at, at + length);
    mended[4] = static_cast<std::uint8_t>(computed);
    mended[5] = static_cast<std::uint8_t>(computed >> 8);
    if (object.setFromImage(mended.data(), mended.size()) != quenmap::kLoaded) {
        return BlockState::Unloadable;
    }
    return BlockState::ChecksumFailed;
}

}  // namespace

std::string dateText(std::uint16_t packed) {
    char text[16];
    std::snprintf(text, sizeof text, "%04u-%02u-%02u", (packed >> 9) + 1980u, (packed >> 5) & 15u,
                  packed & 31u);
    return text;
}

ImageWalk::ImageWalk(const std::uint8_t* data, std::size_t size) {
    Report& report = report_;
    ImageStatus& status = report.status;

    std::size_t offset = 0;
    for (;;) {
        const std::size_t left = size - offset;
        if (left < 2) {
            status.end = WalkEnd::CutShort;
            break;
        }
        const std::uint8_t* at = data + offset;
        const std::uint16_t id = u16At(at);
        if (id == quenmap::kEndBlockId) {
            Block end;
            end.offset = offset;
            end.id = id;
            end.length = left >= 4 ? u16At(at + 2) : 0;
            end.name = "END";
            end.className = "HwDatablockEnd";
            report.blocks.push_back(end);
            const std::size_t endSize = left < 4 ? left : 4;
            status.end = WalkEnd::EndBlock;
            offset += endSize;
            status.trailingBytes = size - offset;
            status.trailing = trailingPattern(data + offset, status.trailingBytes);
            break;
        }
        if (left < kHeaderSize) {
            status.end = WalkEnd::CutShort;
            break;
        }
        const std::uint16_t length = u16At(at + 2);
        if (length < kHeaderSize || length > left) {
            // A length past the file's end is a file cut short; one below the
            // header cannot be trusted to lead to the next block.
            status.end = length < kHeaderSize ? WalkEnd::UntrustedLength : WalkEnd::CutShort;
            break;
        }
        Block block;
        block.offset = offset;
        block.id = id;
        block.length = length;
        block.storedChecksum = u16At(at + 4);
        const quenmap::BlockType* type = quenmap::blockTypeForId(id);
        std::unique_ptr<HwDatablock> object = type ? quenmap::createBlockForId(id) : nullptr;
        if (object == nullptr) {
            block.state = BlockState::UnknownId;
            block.computedChecksum = static_cast<std::uint16_t>(
                -(quenmap::sumWords(at, length, length / 2) - block.storedChecksum));
            ++status.unknownIds;
        } else {
            block.name = type->textName;
            block.className = object->className();
            block.instance = instanceOf(*type, id);
            block.state = loadForView(*object, at, length, block.computedChecksum);
            if (block.state == BlockState::ChecksumFailed) ++status.failedChecksums;
            if (block.state == BlockState::Unloadable) ++status.unloadable;
        }
        if (block.state != BlockState::UnknownId && block.state != BlockState::Unloadable) {
            if (auto* ident = dynamic_cast<const quenmap::HwIdentRecord*>(object.get());
                ident != nullptr && !report.board.present &&
                (id == quenmap::kIdentId || id == quenmap::kAlternateIdentId)) {
                summariseIdent(*ident, report.board);
            }
            collectService(*object, report.service);
            byId_.emplace(id, object.get());
            decodable_.emplace(report.blocks.size(), Decodable{object.get(), type});
            objects_.push_back(std::move(object));
        }
        block.bytes.assign(at, at + length);
        report.blocks.push_back(std::move(block));
        offset += length;
    }
    status.endOffset = offset;
    report.board.bytesInUse = offset;

    // The STEREOCODER image is its ident block alone, by design.
    if (status.end == WalkEnd::CutShort && offset == size && report.blocks.size() == 1 &&
        report.board.present && report.board.unitName == "STEREOCODER") {
        status.end = WalkEnd::IdentOnly;
    }
}

BlockContent ImageWalk::contentOf(std::size_t blockIndex) const {
    const auto found = decodable_.find(blockIndex);
    if (found == decodable_.end()) return {};
    const CompanionLookup companions = [this](std::uint16_t id) -> const HwDatablock* {
        auto companion = byId_.find(id);
        return companion == byId_.end() ? nullptr : companion->second;
    };
    return decodeContent(*found->second.object, *found->second.type, companions);
}

Report ImageWalk::decodedReport() && {
    for (std::size_t i = 0; i < report_.blocks.size(); ++i) {
        report_.blocks[i].content = contentOf(i);
    }
    return std::move(report_);
}

Report inspectImage(const std::uint8_t* data, std::size_t size) {
    return ImageWalk(data, size).decodedReport();
}

}  // namespace quenview
