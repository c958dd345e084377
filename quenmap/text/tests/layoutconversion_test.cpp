// Whole conversions of the layout types through the driver: "-b" of one named
// block and of complete boards, "-a" of the images they give.

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "datablocks/tables/tests/conversionsupport.h"
#include "driver/conversion.h"
#include "layouttesting.h"

namespace quenmap::test {
namespace {

const char kEnd[] = "# Das ist der END Block\nID:              END\n\n";
const std::string kEndImage("\xFF\xFF\x00\x00", 4);

struct SingleBlock {
    const char* blockName;
    std::string section;
    Bytes image;
};

std::vector<SingleBlock> singleBlocks() {
    return {
        {"BLOCK_MBRD_SERIAL_NUMBER",
         "# Das ist die Seriennummer des GXx`s\nID:              SERIAL_NUMBER\n"
         "SN:              101234\n\n",
         Image(12000, 12).u32(8, 101234).bytes()},
        {"BLOCK_DACIF_FULLSCALE",
         "# Das ist der FullScaleValue\nID:              DACIF_FULLSCALEVALUE\n"
         "FullscaleValue:  65535\n\n",
         Image(12500, 12).u32(8, 65535).bytes()},
        {"BLOCK_SATTC_HPCOUNTER_BACKUP",
         "#Das ist der backup HP-Z\xE4"
         "hler\nID:              SATTC_HPCOUNTER_BACKUP\n"
         "COUNT_VALUE:     7\nCOUNT_VALUE:     8\n\n",
         Image(11303, 16).u32(8, 7).u32(12, 8).bytes()},
        {"BLOCK_SSYN_OCXOREFCALVALUE",
         "# Das sind die Ssyn_Ocxo Kalibrierwerte\n"
         "# Maximal m\xF6"
         "gliche Koefizienten sind mit dieser ID 1\n"
         "ID:            SSYN_OCXO_REF_CAL_VALUE\nCOUNT:      1\n1:          123456\n\n",
         Image(10000, 16).u32(8, 1).u32(12, 123456).bytes()},
        {"BLOCK_DPH_MBRD_PLL_DAC_VALUE",
         "# Einstellwert fuer den PLL-DAC bewirkt genaue Einstellung der Referenzfrequenz\n"
         "# Wertebereich: 0..3FFh (0..1023) entspricht Frequenz 10MHz +/-150Hz\n"
         "ID:            DPH_MBRD_PLL_DAC_VALUE\nCOUNT:      1\n1:          1000\n\n",
         Image(12280, 16).u32(8, 1).u32(12, 1000).bytes()},
        {"BLOCK_MBRD_PATHB_EXTLEVCALIBDATAFREQ",
         "# Das sind die Frequenzst\xFC"
         "tzstellen\nID:              EXT_CAL_DAT_B_FREQ\n"
         "COUNT:           2\n1:             1000000.00\n2:             1000000.01\n\n",
         Image(12051, 1052).u32(8, 2).u32(12, 100000).u32(16, 100000).bytes()},
        {"BLOCK_GXP_EXTLEVCALIBDATA_ABSOLCORR",
         "# Externe Kalibrierdaten [1/100dBm]\nID:              LEV_CAL_DAT_ABS_CORR\n"
         "COUNT:           2\n1:               -150    7\n",
         Image(12042, 3012).u32(8, 2).i16(12, -150).i16(14, 7).bytes()},
        {"BLOCK_MBRD_PATHB_RF_RESPONSE_IOPEP_INFO",
         "#Info f\xFC"
         "r Kalibrierpegel (IOPEP Anzahl und Werte, max. IQPEP der Betriebszust\xE4"
         "nde Anzahl und Werte, dazugeh\xF6"
         "riges BBGAIN), dB*100\n"
         "ID:              PATH_B_RF_RESPONSE_IOPEP_INFO\nCOUNT:           1\n1:             "
         "300\n\n",
         Image(12221, 92).u32(8, 1).u32(12, 300).bytes()},
        {"BLOCK_DACB_IQ_IMBALANCE_SWAP_PH",
         "#Das sind die Phasenwerte der RF Imbalance mit IQ Swap [1/100]\n"
         "ID:              DACB_IQ_IMBALANCE_SWAP_PH\n1: -16\n2: 3\n\n",
         Image(14300, 64).u32(8, 2).i16(12, -16).i16(14, 3).bytes()},
        {"BLOCK_DET_LIMITER_MAX_VOLT_DATA",
         "# Limiter: Hier stehen die Detektorspannungen bei maximal zul\xE4"
         "ssigem Pegel\n"
         "# Wertebereich: 0...8V\nID:              LIMITER_MAX_VOLTAGE\n1: 7.25\n\n",
         Image(15021, 812).u32(8, 1).f64(12, 7.25).bytes()},
        {"BLOCK_MBRD_MODEL",
         "# Das ist der Modellname des GXR`s\nID:              GENERATOR_MODEL\n"
         "MODEL:           \n\n",
         Image(12001, 40).bytes()},
        {"BLOCK_IQOP3_RFM_HARMONIC", "", Bytes()},
    };
}

// Companion frequencies the value sections need in the text.
const char kCompanions[] =
    "ID:              DACB_IQ_IMBALANCE_FREQ\nCOUNT:           2\n1:             1\n"
    "2:             2\n\n"
    "ID:              LIMITER_FREQUENCY_NODE_GHZ\nCOUNT:           1\n1:             3\n\n";

TEST(LayoutTextConversion, NamedBlocksConvertBothWays) {
    for (const SingleBlock& block : singleBlocks()) {
        if (block.image.empty()) continue;
        Outcome binary = textToBinary(std::string(kCompanions) + block.section, block.blockName);
        ASSERT_EQ(binary.status, 0) << block.blockName << ": " << binary.errors;
        EXPECT_EQ(hex(Bytes(binary.output.begin(), binary.output.end())), hex(block.image))
            << block.blockName;
        Outcome text = binaryToText(asString(block.image) + kEndImage);
        ASSERT_EQ(text.status, 0) << block.blockName << ": " << text.errors;
        EXPECT_EQ(text.output, block.section + kEnd) << block.blockName;
    }
}

TEST(LayoutTextConversion, CountAboveTheLimitEndsTheRunWithStatusTwo) {
    Outcome binary = textToBinary(
        "ID:              DACB_IQ_IMBALANCE_FREQ\nCOUNT:           27\n"
        "ID:              DACB_IQ_IMBALANCE_AMP\n1: 1\n",
        "BLOCK_DACB_IQ_IMBALANCE_AMP");
    EXPECT_EQ(binary.status, 2);
    EXPECT_EQ(binary.output, "");
    EXPECT_NE(binary.errors.find(" count of Block DACB_IQ_IMBALANCE_FREQ is too high"),
              std::string::npos);
}

std::string identText(const std::string& unit) {
    return "# Das sind die Kopfdaten\nID:              IDENT_2\nALIGNMENT:       0\n"
           "EEPROMSIZE:      8192\nPARTNUMBER:      1141.2005.02\nHWCODE:          3\n"
           "PRODUCTINDEX:    01.02\nSN:              100234\nPRODUCTDATE:     2006-03-15\n"
           "READCODE:        0\nTESTINSTRUCTION: 01.00\nNAME:            " +
           unit + std::string(13 - unit.size(), ' ') +
           "\n\n# Das sind die Servicedaten Modification\nID:              MODIFICATION_100\n" +
           [] {
               std::string codes;
               for (int i = 0; i < 10; ++i) codes += "SERVICECODE:     0\n";
               return codes;
           }() +
           "\n# Das sind die Servicedaten Service 200\nID:              SERVICE_200\n"
           "DEPARTMENT:      ABC\nSERVICEDATE:     2006-03-15\nOPHOURS:         00001/000002\n"
           "REPAIRNUMBER:    1\nSERVICECODE:     2\n\n"
           "# Das sind die Statisticdaten Statistics 300\nID:              STATISTICS_300\n"
           "OPHOURS:         00003/000004\n\n";
}

struct BoardSections {
    std::string unit;
    std::string sections;
    bool writtenAsGiven;  // the sections are in the writer's own form
};

const char kEmptyModel[] =
    "# Das ist der Modellname des GXR`s\nID:              GENERATOR_MODEL\nMODEL:           \n\n";

// Complete boards whose own blocks are all layout types: the text written
// from the image reads back to the same image.
TEST(LayoutTextConversion, BoardsRoundTripThroughTheirImages) {
    const BoardSections boards[] = {
        {"SSYN",
         "# Das sind die Ssyn_Ocxo Kalibrierwerte\n"
         "ID:            SSYN_OCXO_REF_CAL_VALUE\nCOUNT:      1\n1:          5\n\n"
         "ID:              SSYN_OPU_DBL_COEFFICIENT\nCOUNT:           3\n"
         "1:             12\n2:             0.125\n3:             -3.000001\n\n"
         "ID:              SSYN_OPU_LEVEL_FREQ\nCOUNT:           1\n1:             1000000\n\n"
         "ID:              SSYN_OPU_LEVEL\nCOUNT:           1\n1:             700\n\n",
         false},
        {"BABO", "ID:              SERIAL_NUMBER\nSN:              4711\n\n", false},
        {"MBRD", "ID:              GENERATOR_MODEL\nMODEL:           SMX\n\n", false},
        {"DET",
         "ID:              LIMITER_FREQUENCY_NODE_GHZ\nCOUNT:           2\n1: 1\n2: 22\n\n"
         "ID:              LIMITER_MAX_VOLTAGE\n1: 7.25\n2: 0.5\n\n",
         false},
        {"DVK_BASEBOARD",
         "ID:            DVK_BASEBOARD_CALIB_VALUE\nCOUNT:      1\n1:          42\n\n", false},
        {"FSYN", "ID:            FSYN_TCXO_REF_CAL_VALUE\nCOUNT:      1\n1:          42\n\n",
         false},
        // A model without a name keeps its section, and the next section's
        // first line is not taken for the name.
        {"MBRD", kEmptyModel, true},
        {"MWIF", kEmptyModel, true},
        {"BABO",
         std::string(kEmptyModel) +
             "# Das ist die Seriennummer des GXx`s\nID:              SERIAL_NUMBER\n"
             "SN:              4711\n\n",
         true},
    };
    for (const auto& [unit, sections, writtenAsGiven] : boards) {
        Outcome first = textToBinary(identText(unit) + sections + kEnd, "");
        ASSERT_EQ(first.status, 0) << unit << ": " << first.errors;
        Outcome text = binaryToText(first.output);
        ASSERT_EQ(text.status, 0) << unit << ": " << text.errors;
        if (writtenAsGiven) {
            EXPECT_NE(text.output.find(sections + kEnd), std::string::npos) << unit;
        }
        Outcome second = textToBinary(text.output, "");
        ASSERT_EQ(second.status, 0) << unit << ": " << second.errors;
        EXPECT_EQ(hex(Bytes(second.output.begin(), second.output.end())),
                  hex(Bytes(first.output.begin(), first.output.end())))
            << unit;
    }
}

TEST(LayoutTextConversion, BaboWithoutItsOptionalModelConverts) {
    Outcome binary = textToBinary(
        identText("BABO") + "ID:              SERIAL_NUMBER\nSN:              4711\n\n" + kEnd, "");
    ASSERT_EQ(binary.status, 0) << binary.errors;
    const std::string model = asString(Image(12001, 40).bytes());
    const std::string serial = asString(Image(12000, 12).u32(8, 4711).bytes());
    EXPECT_NE(binary.output.find(model + serial + kEndImage), std::string::npos);
}

}  // namespace
}  // namespace quenmap::test
