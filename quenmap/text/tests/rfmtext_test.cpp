// IQOP3 RFM text forms: the per-state table with its packing and range
// messages, the version 2.0 table, the per-state keyword vectors, and the
// complete conversion of a board before data version 2.

#include "text/rfmtext.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "datablocks/catalogue/specialblocks.h"
#include "driver/conversion.h"
#include "matrixtesting.h"

namespace quenmap::matrixtest {
namespace {

// ---- the table of one operating state -----------------------------------------------

struct StateRow {
    float error;
    unsigned levelPreset;
    float att15, att30, att45, outputPower;
    unsigned detectorAttenuation, deflection;
};

std::string rowGroup(const StateRow& row) {
    return "[" + std::to_string(row.error) + "\t" + std::to_string(row.levelPreset) + "\t" +
           std::to_string(row.att15) + "\t" + std::to_string(row.att30) + "\t" +
           std::to_string(row.att45) + "\t" + std::to_string(row.outputPower) + "\t" +
           std::to_string(row.detectorAttenuation) + "\t" + std::to_string(row.deflection) + "]";
}

// The calibration system's text: PMAX per state, the frequencies, and a table
// with the states side by side (state 1 holds filler rows).
std::string stateText(float pmax1, float pmax2, const std::vector<StateRow>& rows) {
    std::string text =
        "ID:              IQOP3_RFM_CALIB_DATA_MISC\nPMAX_BZ1:   " + std::to_string(pmax1) +
        "\t dBm\nPMAX_BZ2:   " + std::to_string(pmax2) +
        "\t dBm\n\nID:              IQOP3_RFM_CALIB_DATA_FREQ\nCOUNT:           " +
        std::to_string(rows.size()) + "\n";
    for (std::size_t k = 0; k < rows.size(); ++k) text += "Zeile" + std::to_string(k + 1) + ": 1\n";
    text += "\nID:              IQOP3_RFM_CALIB_DATA\n#Zeile ][ BZ 1 ][ BZ 2 ]\n";
    const StateRow filler{0, 1, 15, 30, 45, 0, 1, 1};
    for (std::size_t k = 0; k < rows.size(); ++k) {
        text += "Zeile" + std::to_string(k) + ":\t" + rowGroup(filler) + rowGroup(rows[k]) + "\n";
    }
    return text + "\n";
}

Read readState2(const std::string& text) {
    return runReader(text, 10303, 2412, [](TextInput& in, HwDatablock& block) {
        readIqOp3RfmCalibDataText(in, block, 2);
    });
}

struct PackingCase {
    const char* what;
    float pmax;
    StateRow row;
    std::uint32_t wordA;  // worked out by hand
    std::uint32_t wordB;
};

// 1000 * 10^0 / 10^(10 * 0.1f): 100, or 99 where the platform's pow of 10
// answers a hair above 10.
std::uint32_t outputPowerDeflection() {
    return static_cast<std::uint32_t>(1000.0 * std::pow(10.0, static_cast<double>(0.0f * 0.1f)) /
                                      std::pow(10.0, static_cast<double>(10.0f * 0.1f)));
}

std::vector<PackingCase> packingCases() {
    return {
        // DETCONV 1000 at PMAX 10 dBm and OPURF 0 dBm: 1000 * 10 / 1.
        {"deflection_for_pmax",
         10.0f,
         {0, 5, 15.5f, 29.0f, 45.25f, 0.0f, 17, 1000},
         5u | (17u << 4) | (10000u << 9),
         64u | (128u << 10) | (32u << 21)},
        // OPURF above PMAX lowers it: 1000 * 1 / 10.
        {"deflection_for_output_power",
         0.0f,
         {110, 3, 15, 30, 45, 10.0f, 2, 1000},
         3u | (2u << 4) | (outputPowerDeflection() << 9),
         0u},
        // Equal levels of 0 dBm keep it; fields keep their low bits only.
        {"fields_cut_to_width",
         0.0f,
         {0, 0x1F, 15, 30, 45, 0.0f, 0x3F, 70000},
         0xFu | (0x1Fu << 4) | ((70000u & 0xFFFFu) << 9),
         0u},
        // The largest offsets of the three fields.
        {"largest_offsets",
         0.0f,
         {0, 0, 22.99f, 30.0f + 2047.0f / 128, 45.0f + 2047.0f / 128, 0, 0, 0},
         0u,
         1023u | (2047u << 10) | (2047u << 21)},
        // An attenuation below its step counts by its magnitude.
        {"offset_below_the_step",
         0.0f,
         {0, 0, 14.0f, 30.0f, 44.5f, 0, 0, 0},
         0u,
         128u | (64u << 21)},
    };
}

class StateTablePacking : public ::testing::TestWithParam<PackingCase> {};

TEST_P(StateTablePacking, PacksTheRowIntoTwoWords) {
    const PackingCase& c = GetParam();
    Read read = readState2(stateText(0.0f, c.pmax, {c.row, c.row}));
    ASSERT_EQ(read.status, 0) << read.message;
    Expected image(10304, 2412);
    image.u32(8, 2);
    for (int k = 0; k < 2; ++k) image.u32(12 + 8 * k, c.wordA).u32(16 + 8 * k, c.wordB);
    EXPECT_EQ(read.bytes, image.bytes());
}

INSTANTIATE_TEST_SUITE_P(Rows, StateTablePacking, ::testing::ValuesIn(packingCases()),
                         [](const auto& param) { return std::string(param.param.what); });

struct RangeCase {
    float att15, att30, att45;
    const char* message;
};

TEST(StateTableRanges, EachAttenuationOutsideItsFieldEndsTheRun) {
    const RangeCase cases[] = {
        {23.0f, 30, 45, "levAtt15 Value out of range in ASCII-File"},
        {7.0f, 30, 45, "levAtt15 Value out of range in ASCII-File"},
        {15, 46.0f, 45, "levAtt30 Value out of range in ASCII-File"},
        {15, 30, 61.0f, "levAtt45 Value out of range in ASCII-File"},
    };
    for (const RangeCase& c : cases) {
        StateRow row{0, 0, c.att15, c.att30, c.att45, 0, 0, 0};
        Read read = readState2(stateText(0, 0, {row}));
        EXPECT_EQ(read.status, 1) << c.message;
        EXPECT_EQ(read.message, c.message);
    }
}

TEST(StateTableRanges, RowsBeyondTheFrequencyCountStayZero) {
    StateRow row{0, 1, 15.5f, 30, 45, 0, 0, 0};
    std::string text = stateText(0, 0, {row, row});
    // Two rows in the table, one frequency counted.
    text.replace(text.find("COUNT:           2"), 18, "COUNT:           1");
    Read read = readState2(text);
    ASSERT_EQ(read.status, 0) << read.message;
    EXPECT_EQ(read.bytes, Expected(10304, 2412).u32(8, 2).u32(12, 1).u32(16, 64).bytes());
}

TEST(StateTableText, WritesNegativeOffsetsAndAllRows) {
    Expected image(10305, 2412);
    image.u32(8, 3);
    image.u32(12, 5u | (17u << 4) | (40000u << 9)).u32(16, 1023u | (1024u << 10) | (511u << 21));
    image.u32(20, 0).u32(24, 512u | (1023u << 10) | (1024u << 21));
    std::string expected =
        "ID:                 IQOP3_RFM_CALIB_DATA\n"
        "#Betriebszustand        LEVPRE LEVATT15\tLEVATT30 LEVATT45 DETATT  DETCONV_DEFLECTION \n"
        "#\t BZ 3\t        dB      dB\t  dB\t    dB\t   dBm\n"
        "Zeile0: \t\t[5\t14.992\t22.000\t48.992\t17\t\t40000\t]\n"
        "Zeile1: \t\t[0\t11.000\t37.992\t37.000\t0\t\t0\t]\n";
    for (int k = 2; k < 300; ++k) {
        expected += "Zeile" + std::to_string(k) + ": \t\t[0\t15.000\t30.000\t45.000\t0\t\t0\t]\n";
    }
    EXPECT_EQ(writeLayout(image.bytes()), expected + "\n");
}

TEST(StateTableText, TheRunsReaderTakesTheStateFromTheConstructionCounter) {
    HwSDatablockIqOp3RfmCalibData constructed;
    const std::uint32_t state = HwSDatablockIqOp3RfmCalibData::instanceCount();
    if (state > 12) GTEST_SKIP() << "counter beyond the 12 state ids in this process";
    Read read = readLayout("nothing\n", 10303, 2412, 0);
    EXPECT_EQ(read.bytes, Expected(static_cast<std::uint16_t>(10302 + state), 2412).bytes());
}

// ---- the table of data version 2.0 -----------------------------------------------

TEST(V20TableText, ReadsTheFourteenColumnsAfterTheRowNumber) {
    const std::string text =
        "ID:              IQOP3_RFM_CALIB_DATA_V20\n"
        "Zeile0: 7\t0.5\t1.5\t2.75\t4\t3\t-2\t5\t15.25\t30.5\t45.75\t-7\t14.5\t29.875\t44\n"
        "Zeile1: 8\t1\t2\t3\t4\t5\t6\t7\t8\t9\t10\t11\t12\t13\t14\n"
        "Zeile2: 9\t9\t9\t9\t9\t9\t9\t9\t9\t9\t9\t9\t9\t9\t9\n\n"
        "ID:              IQOP3_RFM_CALIB_DATA_FREQ\nCOUNT:           2\n";
    Expected image(10316, 14408);
    image.f32(8, 0.5f).f32(12, 1.5f).f32(16, 2.75f).f32(20, 4.0f);
    image.u16(24, 3).u16(26, static_cast<std::uint16_t>(-2)).u16(28, 5);
    image.f32(32, 15.25f).f32(36, 30.5f).f32(40, 45.75f);
    image.u16(30, static_cast<std::uint16_t>(-7));
    image.f32(44, 14.5f).f32(48, 29.875f).f32(52, 44.0f);
    const std::size_t row1 = 8 + 48;
    image.f32(row1, 1).f32(row1 + 4, 2).f32(row1 + 8, 3).f32(row1 + 12, 4);
    image.u16(row1 + 16, 5).u16(row1 + 18, 6).u16(row1 + 20, 7);
    image.f32(row1 + 24, 8).f32(row1 + 28, 9).f32(row1 + 32, 10);
    image.u16(row1 + 22, 11);
    image.f32(row1 + 36, 12).f32(row1 + 40, 13).f32(row1 + 44, 14);
    Read read = readLayout(text, 10316, 14408);
    ASSERT_EQ(read.status, 0) << read.message;
    EXPECT_EQ(read.bytes, image.bytes());

    std::string written = writeLayout(image.bytes());
    const std::string head =
        "# Das sind die Kalibrierdaten IQOP3 RFM Version 2.0\n"
        "ID:                 IQOP3_RFM_CALIB_DATA_V20\nSENS_LOW\t      SENS_MED\t     SENS_HIGH";
    EXPECT_EQ(written.substr(0, head.size()), head);
    EXPECT_NE(written.find("\n SENS in DAC/mW, Rest in dB \n"
                           "Zeile0: \t\t0.5\t1.5\t2.75\t4\t3\t-2\t5\t15.25\t30.5\t45.75\t-7\t14.5\t"
                           "29.875\t44\n"
                           "Zeile1: \t\t1\t2\t3\t4\t5\t6\t7\t8\t9\t10\t11\t12\t13\t14\n"
                           "Zeile2: \t\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\n"),
              std::string::npos)
        << written;
    EXPECT_NE(written.find("Zeile299: \t\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\n\n"),
              std::string::npos);
}

// ---- the per-state keyword vectors ----------------------------------------------------

TEST(MiscVectorText, ReadsTheVectorsAndTolerancesAndWritesTheirStoredForms) {
    const std::string text =
        "ID:              IQOP3_RFM_CALIB_DATA_MISC\nCOUNT_BZ:        2\n"
        "UIQ_BZ1: 0.25\t V\nUIQ_BZ2: 0.5\t V\n"
        "PMAX_BZ1: 20\t dBm\nPMAX_BZ2: -1.5\t dBm\n"
        "LCON_RESERVE_BZ1: 2.5\t dB\nLCON_RESERVE_BZ2: 0.75\t dB\n"
        "DET_FULL_SCALE: 65535\t V\n"
        "DET_RESERVE_BZ1: 3.4\t dB\nDET_RESERVE_BZ2: 3.6\t dB\n"
        "TOLERANZ_LEVPRE: 0.5\nTOLERANZ_LEVATT_15: 0.25\nTOLERANZ_LEVATT_30_45: 0.375\n"
        "TOLERANZ_DETATT: 1\n";
    Expected image(10301, 168);
    image.u16(8, 64).u16(10, 32).u16(12, 48).u16(14, 128);
    image.f32(16, 65535.0f).u32(20, 2);
    // PMAX: a float holding round(x * 128); -1.5 dBm gives -192 + 0.5 truncated.
    image.f32(24, 2560.0f).f32(28, static_cast<float>(static_cast<std::uint32_t>(-191)));
    image.f32(72, 0.25f).f32(76, 0.5f);
    image.u16(120, 320).u16(122, 96);
    image.u16(144, 3).u16(146, 4);
    Read read = readLayout(text, 10301, 168);
    ASSERT_EQ(read.status, 0) << read.message;
    EXPECT_EQ(read.bytes, image.bytes());

    const std::string written = writeLayout(image.bytes());
    const std::string expected =
        "# Anzahl der Betriebszust\xE4"
        "nde, ganzzahlig, Standard 8\n"
        "ID:              IQOP3_RFM_CALIB_DATA_MISC\n"
        "COUNT_BZ:        2\n"
        "# IQMod. Basisbandspannung (V), diff. gemessen an IX/INX und QX/QNX am 80pol St., BZ "
        "Werte, 3 Nachkomma,  (=halbe differentielle DQTS-Leerlaufspannung)\n"
        "UIQ_BZ1:             0.25\t V\nUIQ_BZ2:             0.5\t V\n"
        "# Maximale Ausgangsleistung (dBm) des Betriebszustandes x, BZ Werte, 3 Nachkomma\n"
        "PMAX_BZ1:             20.0\t dBm\nPMAX_BZ2:             33554430.0\t dBm\n"
        "# Reserve (dB) des LCON PIN D\xE4"
        "mpfungsgliedes zum Vollausschlag, BZ Werte, 3 "
        "Nachkomma\n"
        "LCON_RESERVE_BZ1:             320\t dB\nLCON_RESERVE_BZ2:             96\t dB\n"
        "# Vollausschlag des Detektorwandlers (Definition LCM), bei der Kalibrierung als "
        "Vollausschlag definiert (65535)\n"
        "DET_FULL_SCALE:             65535\t V\n"
        "# minimale Detektorreserve (dB) zum Vollauschlag des Detektors bei PMAX_BZx, BZ Werte, 3 "
        "Nachkomma\n"
        "DET_RESERVE_BZ1:             3\t dB\nDET_RESERVE_BZ2:             4\t dB\n"
        "# +/-Toleranz (dB) des LEVEL PRESET Step Attenuators., 3 Nachkomma\n"
        "TOLERANZ_LEVPRE:             64\t dB\n"
        "# +/-Toleranz (dB) des Level Attenuators., 3 Nachkomma\n"
        "TOLERANZ_LEVATT_15:             0.2\t dB\n"
        "TOLERANZ_LEVATT_30_45:          0.4\t dB\n"
        "# +/-Toleranz (dB) des Detektor Step Attenuators., 3 Nachkomma\n"
        "TOLERANZ_DETATT:             128\t dB\n"
        "# F\xFC"
        "r das Beschreiben des RFM EEPROMS werden pro Betriebszustandalle Spalten "
        "ausgenommen Fehler und OPU3RF_LP ben\xF6"
        "tigt\n"
        "# OPURF_LP=Baugruppenausgangsleistung Ausgangsleistung mit LEVELPRESET Einstellung lt. "
        "Tabelle und LCON-Absenkung=LCONRESERVE\n"
        "#\n# Fehler\t Beschreibung\n#      0\t kein Fehler\n"
        "#      1\t Iteration LPW fehlgeschlagen\n"
        "#      2\t Alle LPW au\xDF"
        "erhalb des LP-Limits\n"
        "#      3\t LPW au\xDF"
        "erhalb der LEVPRE-Toleranz\n"
        "#    +10\t PMAX_BZ nicht erreichbar\n"
        "#   +100\t LEVATT au\xDF"
        "erhalb der Toleranz\n"
        "#  +1000\t Alle DETATT au\xDF"
        "erhalb des LP-Limits\n"
        "#  +2000\t DETATT au\xDF"
        "erhalb der Toleranz\n\n";
    EXPECT_EQ(written, expected);
}

TEST(MiscVectorText, MoreThanTwelveStatesIsACountError) {
    Read ok =
        readLayout("ID:              IQOP3_RFM_CALIB_DATA_MISC\nCOUNT_BZ: 12\n", 10301, 168, 0);
    EXPECT_EQ(ok.status, 0);
    Read over =
        readLayout("ID:              IQOP3_RFM_CALIB_DATA_MISC\nCOUNT_BZ: 13\n", 10301, 168);
    EXPECT_EQ(over.status, 2);
    EXPECT_EQ(over.message, " count of Block IQOP3_RFM_CALIB_DATA_MISC is too high");
}

// ---- the complete conversion before data version 2 ---------------------------------

std::string boardText() {
    std::string text =
        "ID:              IDENT_2\nALIGNMENT: 2\nEEPROMSIZE: 4096\nPARTNUMBER: 1141.2005.02\n"
        "HWCODE: 1\nPRODUCTINDEX: 01.00\nSN: 1\nPRODUCTDATE: 2006-03-15\nREADCODE: 0\n"
        "TESTINSTRUCTION: 01.99\nNAME: IQOP3_RFM\n\n"
        "ID:              MODIFICATION_100\n" +
        [] {
            std::string lines;
            for (int i = 0; i < 10; ++i) lines += "SERVICECODE: 0\n";
            return lines;
        }() +
        "ID:              SERVICE_200\nDEPARTMENT: QS\nSERVICEDATE: 2010-01-01\nOPHOURS: 1/0\n"
        "REPAIRNUMBER: 0\nSERVICECODE: 0\n"
        "ID:              STATISTICS_300\nOPHOURS: 00001/000000\n"
        "ID:              IQOP3_RFM_HARMONIC\nHARM_FILT1: 1\nHARM_FILT2: 2\nHARM_FILT3: 3\n"
        "HARM_FILT4: 4\nHARM_FILT5: 5\nHARM_FILT6: 6\n"
        "ID:              IQOP3_RFM_CALIB_DATA_MISC\nCOUNT_BZ: 8\n";
    // PMAX of state s is 10 (s % 3) dBm: the deflection grows by 10^(s % 3).
    for (int s = 1; s <= 8; ++s) text += "UIQ_BZ" + std::to_string(s) + ": 1\n";
    for (int s = 1; s <= 8; ++s) {
        text += "PMAX_BZ" + std::to_string(s) + ": " + std::to_string(10 * (s % 3)) + "\n";
    }
    for (int s = 1; s <= 8; ++s) text += "LCON_RESERVE_BZ" + std::to_string(s) + ": 1\n";
    text += "DET_FULL_SCALE: 1\n";
    for (int s = 1; s <= 8; ++s) text += "DET_RESERVE_BZ" + std::to_string(s) + ": 1\n";
    text +=
        "TOLERANZ_LEVPRE: 1\nTOLERANZ_LEVATT_15: 1\nTOLERANZ_LEVATT_30_45: 1\n"
        "TOLERANZ_DETATT: 1\n"
        "ID:              IQOP3_RFM_CALIB_DATA_FREQ\nCOUNT: 1\nZeile1: 1000000\n"
        "ID:              IQOP3_RFM_CALIB_DATA\n#";
    for (int s = 1; s <= 8; ++s) text += " BZ " + std::to_string(s);
    text += "\nZeile0:";
    // State s: LEVPRE s, DETATT s, deflection s at OPURF 0 dBm.
    for (int s = 1; s <= 8; ++s) {
        text += " [0 " + std::to_string(s) + " 15 30 45 0 " + std::to_string(s) + " " +
                std::to_string(s) + "]";
    }
    return text + "\nID:              END\n";
}

std::string convert(const std::string& text) {
    std::istringstream input(text);
    std::ostringstream binary, log, out, err;
    std::istringstream keys;
    Console console{keys, out, err};
    int status = convertTextToBinary(input, binary, log, {"in.txt", "out.bin", ""}, console);
    EXPECT_EQ(status, 0) << err.str();
    return binary.str();
}

std::uint16_t wordAt(const std::string& image, std::size_t at) {
    return static_cast<std::uint16_t>(static_cast<std::uint8_t>(image[at]) |
                                      (static_cast<std::uint8_t>(image[at + 1]) << 8));
}

TEST(RfmBoardConversion, FifteenOwnBlocksWithTheEightStatesInOrder) {
    const std::string image = convert(boardText());
    std::vector<std::uint16_t> ids;
    std::size_t at = 0;
    while (at + 4 <= image.size()) {
        std::uint16_t id = wordAt(image, at);
        ids.push_back(id);
        if (id == 0xFFFF) break;
        std::uint16_t length = wordAt(image, at + 2);
        std::uint32_t sum = 0;
        for (std::size_t i = 0; i < length; i += 2) sum += wordAt(image, at + i);
        EXPECT_EQ(sum & 0xFFFFu, 0u) << "checksum of block " << id;
        if (id >= 10303 && id <= 10310) {
            const std::uint32_t state = id - 10302u;
            EXPECT_EQ(wordAt(image, at + 8), state);
            const std::uint32_t wordA = wordAt(image, at + 12) | (wordAt(image, at + 14) << 16);
            const std::uint32_t deflection = state * (state % 3 == 0   ? 1u
                                                      : state % 3 == 1 ? 10u
                                                                       : 100u);
            EXPECT_EQ(wordA, state | (state << 4) | (deflection << 9)) << id;
        }
        if (id >= 10311 && id <= 10314) {
            EXPECT_EQ(length, 2412);
            for (std::size_t i = 8; i < length; ++i) ASSERT_EQ(image[at + i], 0) << id;
        }
        at += length;
    }
    const std::vector<std::uint16_t> expected = {2,     100,   200,   300,   10300, 10301, 10302,
                                                 10303, 10304, 10305, 10306, 10307, 10308, 10309,
                                                 10310, 10311, 10312, 10313, 10314, 0xFFFF};
    EXPECT_EQ(ids, expected);
    EXPECT_EQ(at + 4, image.size());
}

TEST(RfmBoardConversion, ASecondRunInTheSameProcessNumbersTheStatesAgain) {
    EXPECT_EQ(convert(boardText()), convert(boardText()));
}

}  // namespace
}  // namespace quenmap::matrixtest
