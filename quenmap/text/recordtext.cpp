#include "recordtext.h"

#include <string>

#include "datablocks/commonrecords.h"
#include "datablocks/hwdatablockend.h"
#include "datablocks/hwdatablockident.h"
#include "imagebuilder.h"
#include "textformat.h"
#include "textlabels.h"

namespace quenmap {

namespace {

const char kModificationName[] = "MODIFICATION_100";
const char kStatisticName[] = "STATISTICS_300";
const char kEndName[] = "END";

struct Date {
    std::uint32_t year = 0, month = 0, day = 0;
};

Date readDate(std::istream& in, const std::string& blockName) {
    Date date;
    date.year = readValue<std::uint32_t>(in, blockName);
    readSeparator(in, blockName);
    date.month = readValue<std::uint32_t>(in, blockName);
    readSeparator(in, blockName);
    date.day = readValue<std::uint32_t>(in, blockName);
    return date;
}

// "h?f" with the fraction read as a whole number.
std::uint32_t readOperatingHours(std::istream& in, const std::string& blockName) {
    std::uint32_t hours = readValue<std::uint32_t>(in, blockName);
    readSeparator(in, blockName);
    std::uint32_t fraction = readValue<std::uint32_t>(in, blockName);
    return hours * kHoursScale + fraction;
}

std::string dateText(std::uint16_t packed) {
    return formatText("%u-%02u-%02u", (packed >> 9) + 1980u, (packed >> 5) & 0x0Fu, packed & 0x1Fu);
}

std::string hoursText(std::uint32_t value) {
    return formatText("%05u/%06u", value / kHoursScale, value % kHoursScale);
}

std::string serviceIdentifier(std::uint16_t id) {
    return "SERVICE_" + std::to_string(id);
}

}  // namespace

const char* identIdentifier(std::uint16_t blockId) {
    switch (blockId) {
        case HwDatablockMiscIdent::kStreamOptId:
            return "STREAM_OPT_IDENT";
        case HwDatablockMiscIdent::kStreamAuxId:
            return "STREAM_AUX_IDENT";
        default:
            return "IDENT_2";
    }
}

void readIdentText(TextInput& text, HwIdentRecord& block) {
    const bool required = block.flag() != 0;
    const std::uint16_t id = block.id();
    const std::string name = identIdentifier(id);
    // The head block is read forward from where the text stands; the stream
    // option idents look for themselves from the start.
    if (name != "IDENT_2") text.rewind();
    std::istream& in = text.stream();
    ImageBuilder image(kIdentSize);
    std::uint16_t alignment = 0;
    if (findSection(text, name, required)) {
        if (findKeyword(in, "ALIGNMENT:", required)) alignment = readValue<std::uint16_t>(in, name);
        if (findKeyword(in, "EEPROMSIZE:", required)) {
            image.setU32(8, readValue<std::uint32_t>(in, name));
        }
        if (findKeyword(in, "PARTNUMBER:", required)) {
            std::uint32_t first = readValue<std::uint32_t>(in, name);
            readSeparator(in, name);
            std::uint32_t second = readValue<std::uint32_t>(in, name);
            readSeparator(in, name);
            std::uint32_t variant = readValue<std::uint32_t>(in, name);
            image.setU32(12, first * 10000u + second);
            image.setU8(16, static_cast<std::uint8_t>(variant));
        }
        if (findKeyword(in, "HWCODE:", required)) {
            image.setU8(17, static_cast<std::uint8_t>(readValue<std::uint32_t>(in, name)));
        }
        if (findKeyword(in, "PRODUCTINDEX:", required)) {
            std::uint32_t major = readValue<std::uint32_t>(in, name);
            readSeparator(in, name);
            std::uint32_t minor = readValue<std::uint32_t>(in, name);
            image.setU16(18, static_cast<std::uint16_t>(major * 100u + minor));
        }
        if (findKeyword(in, "SN:", required)) image.setU32(20, readValue<std::uint32_t>(in, name));
        if (findKeyword(in, "PRODUCTDATE:", required)) {
            Date date = readDate(in, name);
            image.setU16(24, packDate(date.year, date.month, date.day));
        }
        if (findKeyword(in, "READCODE:", required)) {
            image.setU16(26, readValue<std::uint16_t>(in, name));
        }
        if (findKeyword(in, "TESTINSTRUCTION:", required)) {
            std::uint32_t major = readValue<std::uint32_t>(in, name);
            readSeparator(in, name);
            std::uint32_t minor = readValue<std::uint32_t>(in, name);
            image.setU16(28, static_cast<std::uint16_t>(major * 100u + minor));
        }
        if (findKeyword(in, "NAME:", required)) {
            std::string word = readValue<std::string>(in, name);
            // 13 characters, blank-padded; byte 43 stays 0.
            for (std::size_t i = 0; i < kUnitNameBytes - 1; ++i) {
                image.setU8(kUnitNameOffset + i,
                            static_cast<std::uint8_t>(i < word.size() ? word[i] : ' '));
            }
        }
    }
    image.loadInto(block, id, alignment);
}

void readModificationText(TextInput& text, HwDatablockModification& block) {
    const bool required = block.flag() != 0;
    std::istream& in = text.stream();
    ImageBuilder image(HwDatablockModification::kSize);
    if (findSection(text, kModificationName, required)) {
        for (std::size_t i = 0; i < HwDatablockModification::kCodeCount; ++i) {
            if (!findKeyword(in, "SERVICECODE:", required)) break;
            image.setU16(8 + 2 * i, readValue<std::uint16_t>(in, kModificationName));
        }
    }
    image.loadInto(block, HwDatablockModification::kId);
}

void readServiceText(TextInput& text, HwDatablockServiceData& block) {
    const bool required = block.flag() != 0;
    std::istream& in = text.stream();
    ImageBuilder image(HwDatablockServiceData::kSize);
    std::uint16_t id = HwDatablockServiceData::kFirstId;
    bool found = false;
    for (std::uint16_t candidate = HwDatablockServiceData::kFirstId;
         candidate <= HwDatablockServiceData::kLastId && !found; ++candidate) {
        text.rewind();
        if (findKeyword(in, serviceIdentifier(candidate), false)) {
            id = candidate;
            found = true;
        }
    }
    const std::string name = serviceIdentifier(id);
    if (found || required) {
        if (findKeyword(in, "DEPARTMENT:", required)) {
            std::string word = readWordOfLine(in);
            for (std::size_t i = 0; i + 1 < HwDatablockServiceData::kDepartmentBytes; ++i) {
                image.setU8(8 + i, static_cast<std::uint8_t>(i < word.size() ? word[i] : '\0'));
            }
        }
        if (findKeyword(in, "SERVICEDATE:", required)) {
            Date date = readDate(in, name);
            image.setU16(14, packDate(date.year, date.month, date.day));
        }
        if (findKeyword(in, "OPHOURS:", required)) image.setU32(16, readOperatingHours(in, name));
        if (findKeyword(in, "REPAIRNUMBER:", required)) {
            image.setU16(20, readValue<std::uint16_t>(in, name));
        }
        if (findKeyword(in, "SERVICECODE:", required)) {
            image.setU16(22, readValue<std::uint16_t>(in, name));
        }
    }
    image.loadInto(block, id);
}

void readStatisticText(TextInput& text, HwDatablockStatistic& block) {
    const bool required = block.flag() != 0;
    std::istream& in = text.stream();
    ImageBuilder image(HwDatablockStatistic::kSize);
    if (findSection(text, kStatisticName, required) && findKeyword(in, "OPHOURS:", required)) {
        image.setU32(8, readOperatingHours(in, kStatisticName));
    }
    image.loadInto(block, HwDatablockStatistic::kId);
}

void readEndText(TextInput& text, HwDatablockEnd& block) {
    // A reader before this one may have read to the end of the text (a table
    // reader, or an absent optional section): search from the start then.
    if (text.exhausted()) text.rewind();
    findKeyword(text.stream(), kEndName, block.flag() != 0);
    const std::uint8_t image[4] = {0xFF, 0xFF, 0x00, 0x00};
    block.setFromImage(image, sizeof image);
}

std::ostream& writeIdentText(std::ostream& out, const HwIdentRecord& block) {
    std::string name = block.unitName();
    if (block.id() == kAlternateIdentId) name += "  ";
    out << "# Das sind die Kopfdaten\n"
        << kIdLabel << identIdentifier(block.id()) << '\n'
        << "ALIGNMENT:       " << block.alignment() << '\n'
        << "EEPROMSIZE:      " << block.eepromSize() << '\n'
        << "PARTNUMBER:      "
        << formatText("%u.%04u.%02u", block.partNumber() / 10000u, block.partNumber() % 10000u,
                      static_cast<unsigned>(block.partVariant()))
        << '\n'
        << "HWCODE:          " << static_cast<unsigned>(block.hardwareCode()) << '\n'
        << "PRODUCTINDEX:    "
        << formatText("%02u.%02u", block.productIndex() / 100u, block.productIndex() % 100u) << '\n'
        << "SN:              " << block.serialNumber() << '\n'
        << "PRODUCTDATE:     " << dateText(block.productDate()) << '\n'
        << "READCODE:        " << block.readCode() << '\n'
        << "TESTINSTRUCTION: "
        << formatText("%02u.%02u", block.testInstruction() / 100u, block.testInstruction() % 100u)
        << '\n'
        << "NAME:            " << name << '\n'
        << '\n';
    return out;
}

std::ostream& writeModificationText(std::ostream& out, const HwDatablockModification& block) {
    out << "# Das sind die Servicedaten Modification\n" << kIdLabel << kModificationName << '\n';
    for (std::size_t i = 0; i < HwDatablockModification::kCodeCount; ++i) {
        out << "SERVICECODE:     " << block.serviceCode(i) << '\n';
    }
    return out << '\n';
}

std::ostream& writeServiceText(std::ostream& out, const HwDatablockServiceData& block) {
    return out << "# Das sind die Servicedaten Service 200\n"
               << kIdLabel << serviceIdentifier(block.id()) << '\n'
               << "DEPARTMENT:      " << block.department() << '\n'
               << "SERVICEDATE:     " << dateText(block.serviceDate()) << '\n'
               << "OPHOURS:         " << hoursText(block.operatingHours()) << '\n'
               << "REPAIRNUMBER:    " << block.repairNumber() << '\n'
               << "SERVICECODE:     " << block.serviceCode() << '\n'
               << '\n';
}

std::ostream& writeStatisticText(std::ostream& out, const HwDatablockStatistic& block) {
    return out << "# Das sind die Statisticdaten Statistics 300\n"
               << kIdLabel << kStatisticName << '\n'
               << "OPHOURS:         " << hoursText(block.operatingHours()) << '\n'
               << '\n';
}

std::ostream& writeEndText(std::ostream& out, const HwDatablockEnd&) {
    return out << "# Das ist der END Block\n" << kIdLabel << kEndName << '\n' << '\n';
}

}  // namespace quenmap
