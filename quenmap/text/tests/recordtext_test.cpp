#include "text/recordtext.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "datablocks/commonrecords.h"
#include "datablocks/hwdatablockend.h"
#include "datablocks/hwdatablockident.h"

namespace quenmap {
namespace {

std::string hex(const Bytes& bytes) {
    static const char digits[] = "0123456789abcdef";
    std::string text;
    for (std::uint8_t b : bytes) {
        text.push_back(digits[b >> 4]);
        text.push_back(digits[b & 15]);
    }
    return text;
}

template <typename F>
TextFailure failureOf(F f) {
    try {
        f();
    } catch (const TextFailure& failure) {
        return failure;
    }
    return TextFailure{-1, ""};
}

struct Reading {
    std::istringstream in;
    std::ostringstream diagnostics;
    TextInput text;
    explicit Reading(const std::string& content) : in(content), text(in, diagnostics) {}
};

const char kIdentText[] =
    "# Das sind die Kopfdaten\n"
    "ID:              IDENT_2\n"
    "ALIGNMENT:       16\n"
    "EEPROMSIZE:      8192\n"
    "PARTNUMBER:      1141.2005.02\n"
    "HWCODE:          3\n"
    "PRODUCTINDEX:    01.02\n"
    "SN:              100234\n"
    "PRODUCTDATE:     2006-03-15\n"
    "READCODE:        0\n"
    "TESTINSTRUCTION: 01.00\n"
    "NAME:            DACB         \n"
    "\n";
const char kIdentImage[] =
    "02002c0002f91000002000002522ae00020366008a8701006f340000640044414342"
    "202020202020202020"
    "00";

std::string withoutBlanks(std::string text) {
    text.erase(std::remove(text.begin(), text.end(), ' '), text.end());
    return text;
}

TEST(RecordText, IdentReadsToExactBytesAndWritesBack) {
    Reading reading(kIdentText);
    HwDatablockIdent ident;
    readIdentText(reading.text, ident);
    EXPECT_EQ(hex(ident.bytes()), withoutBlanks(kIdentImage));
    EXPECT_TRUE(ident.verify());
    std::ostringstream out;
    ident.writeText(out);
    EXPECT_EQ(out.str(), kIdentText);
}

TEST(RecordText, IdentNameCutPaddedAndAlternateId) {
    Reading reading(
        "ID: IDENT_2 ALIGNMENT: 0 EEPROMSIZE: 0 PARTNUMBER: 1.2.3 HWCODE: 0\n"
        "PRODUCTINDEX: 0.0 SN: 0 PRODUCTDATE: 1980-1-1 READCODE: 0\n"
        "TESTINSTRUCTION: 2.5 NAME: LOWPHASENOISE_EXTRA\n");
    HwDatablockIdent ident;
    readIdentText(reading.text, ident);
    EXPECT_EQ(ident.unitName(), "LOWPHASENOISE");
    EXPECT_EQ(ident.bytes()[43], 0);
    EXPECT_EQ(ident.testInstruction(), 205);
    EXPECT_EQ(ident.partNumber(), 10002u);
    EXPECT_EQ(ident.partVariant(), 3);

    HwDatablockIdent stereo;
    stereo.setUnitName("STEREOCODER");
    stereo.setId(kAlternateIdentId);
    std::ostringstream out;
    stereo.writeText(out);
    EXPECT_NE(out.str().find("\nNAME:            STEREOCODER  \n"), std::string::npos);
    EXPECT_NE(out.str().find("PRODUCTDATE:     1980-00-00\n"), std::string::npos);
    EXPECT_NE(out.str().find("PARTNUMBER:      0.0000.00\n"), std::string::npos);
}

TEST(RecordText, MissingIdentIsFatal) {
    Reading reading("ID: SERVICE_200\n");
    HwDatablockIdent ident;
    TextFailure failure = failureOf([&] { readIdentText(reading.text, ident); });
    EXPECT_EQ(failure.status, 1);
    EXPECT_EQ(failure.message, "can not find string:  IDENT_2  in ASCII-File");
}

TEST(RecordText, InvalidValueInsidePresentSection) {
    Reading reading("ID: IDENT_2\nALIGNMENT: x16\n");
    HwDatablockIdent ident;
    TextFailure failure = failureOf([&] { readIdentText(reading.text, ident); });
    EXPECT_EQ(failure.status, 1);
    EXPECT_EQ(failure.message, "invalid value in ASCII-File, block IDENT_2");
}

TEST(RecordText, OptionalIdentAbsentGivesZeroRecord) {
    Reading reading("ID: SOMETHING_ELSE\n");
    HwDatablockMiscIdent aux(HwDatablockMiscIdent::kStreamAuxId, 0);
    readIdentText(reading.text, aux);
    EXPECT_EQ(aux.id(), 10504);
    EXPECT_TRUE(aux.verify());
    for (std::size_t i = 6; i < 44; ++i) EXPECT_EQ(aux.bytes()[i], 0) << i;
}

TEST(RecordText, ServiceRecordFoundAfterEarlierIdsSearchedInVain) {
    const std::string text =
        "# Das sind die Servicedaten Service 200\n"
        "ID:              SERVICE_205\n"
        "DEPARTMENT:      QSTE1\n"
        "SERVICEDATE:     2019-11-04\n"
        "OPHOURS:         00123/450000\n"
        "REPAIRNUMBER:    17\n"
        "SERVICECODE:     4\n"
        "\n";
    Reading reading(text);
    HwDatablockServiceData service;
    readServiceText(reading.text, service);
    EXPECT_EQ(hex(service.bytes()), "cd001800e15c0000515354453100644f90b25b0711000400");
    EXPECT_TRUE(service.verify());
    std::ostringstream out;
    service.writeText(out);
    EXPECT_EQ(out.str(), text);
}

TEST(RecordText, ServiceDepartmentCutToFiveCharacters) {
    Reading reading(
        "ID: SERVICE_200 DEPARTMENT: ABCDEFGHIJ SERVICEDATE: 2000-01-01\n"
        "OPHOURS: 1/2 REPAIRNUMBER: 3 SERVICECODE: 4\n");
    HwDatablockServiceData service;
    readServiceText(reading.text, service);
    EXPECT_EQ(service.department(), "ABCDE");
    EXPECT_EQ(service.bytes()[13], 0);
    EXPECT_EQ(service.operatingHours(), 1000002u);
}

// A service record that was never filled in has no department: its bare key
// must not take the next line's key as the department.
TEST(RecordText, ServiceWithoutDepartmentReadsBack) {
    HwDatablockServiceData written(203);
    written.setDepartment("");
    written.setServiceDate(packDate(2011, 2, 3));
    written.setOperatingHours(5000006);
    written.setRepairNumber(7);
    written.setServiceCode(8);
    std::ostringstream out;
    written.writeText(out);
    EXPECT_NE(out.str().find("DEPARTMENT:      \nSERVICEDATE:     2011-02-03\n"),
              std::string::npos);
    Reading reading(out.str());
    HwDatablockServiceData service;
    readServiceText(reading.text, service);
    EXPECT_EQ(hex(service.bytes()), hex(written.bytes()));
    EXPECT_EQ(service.department(), "");
}

TEST(RecordText, ModificationAndStatisticsExactForms) {
    std::string modificationText =
        "# Das sind die Servicedaten Modification\n"
        "ID:              MODIFICATION_100\n";
    const unsigned codes[10] = {1, 16386, 49155, 0, 0, 0, 0, 0, 0, 65535};
    for (unsigned code : codes)
        modificationText += "SERVICECODE:     " + std::to_string(code) + "\n";
    modificationText += "\n";
    const std::string statisticText =
        "# Das sind die Statisticdaten Statistics 300\n"
        "ID:              STATISTICS_300\n"
        "OPHOURS:         04200/000042\n"
        "\n";
    Reading reading(modificationText + statisticText);
    HwDatablockModification modification;
    HwDatablockStatistic statistic;
    readModificationText(reading.text, modification);
    readStatisticText(reading.text, statistic);
    EXPECT_EQ(hex(modification.bytes()),
              "64001c007bff00000100024003c0000000000000000000000000ffff");
    EXPECT_EQ(hex(statistic.bytes()), "2c010c00481a00002aea56fa");
    std::ostringstream out;
    modification.writeText(out);
    statistic.writeText(out);
    EXPECT_EQ(out.str(), modificationText + statisticText);
}

TEST(RecordText, EndSearchesForwardAndRewindsAtTheEnd) {
    const std::string text = "# Das ist der END Block\nID:              END\n\n";
    Reading reading(text);
    HwDatablockEnd end;
    reading.in.setstate(std::ios::eofbit);  // as after a reader that read to the end
    readEndText(reading.text, end);
    EXPECT_EQ(hex(end.bytes()), "ffff0000");
    std::ostringstream out;
    end.writeText(out);
    EXPECT_EQ(out.str(), text);

    Reading missing("ID: NOTHING\n");
    TextFailure failure = failureOf([&] { readEndText(missing.text, end); });
    EXPECT_EQ(failure.message, "can not find string:  END  in ASCII-File");
}

}  // namespace
}  // namespace quenmap
