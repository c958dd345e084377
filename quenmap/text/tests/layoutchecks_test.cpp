// Count limits, invalid values, absent sections and the special reading rules
// of the record, single-value, list and companion-list layouts.

#include <gtest/gtest.h>

#include <set>

#include "layouttesting.h"
#include "text/layouts/valuelayout.h"

namespace quenmap::test {
namespace {

// Every counted type: the identifier its count check names and its limit.
struct Limit {
    std::uint16_t id;
    std::size_t size;
    const char* name;       // the section's identifier
    const char* companion;  // the frequency block that carries the count, or null
    std::int64_t limit;
    bool fiveColumns;  // entries hold five values
};

const Limit kLimits[] = {
    {10000, 16, "SSYN_OCXO_REF_CAL_VALUE", nullptr, 1, false},
    {15000, 16, "SYNEX_OCXO_REF_CAL_VALUE", nullptr, 1, false},
    {15001, 16, "FSYN_TCXO_REF_CAL_VALUE", nullptr, 1, false},
    {15002, 16, "GXP_OCXO_REF_CAL_VALUE", nullptr, 1, false},
    {15605, 16, "DVK_BASEBOARD_CALIB_VALUE", nullptr, 1, false},
    {12280, 16, "DPH_MBRD_PLL_DAC_VALUE", nullptr, 1, false},
    {10001, 36, "SSYN_OPU_DBL_COEFFICIENT", nullptr, 3, false},
    {10002, 412, "SSYN_OPU_LEVEL_FREQ", nullptr, 50, false},
    {10003, 212, "SSYN_OPU_LEVEL", nullptr, 50, false},
    {10302, 1212, "IQOP3_RFM_CALIB_DATA_FREQ", nullptr, 300, false},
    {10500, 1612, "CWOP3_6_AM_GAIN_FREQ", nullptr, 200, false},
    {10601, 612, "SATT3_CALIB_FREQ", nullptr, 150, false},
    {11200, 612, "SATT6_CALIB_FREQ", nullptr, 150, false},
    {10900, 44, "IQOP6_PMAX_BZ", nullptr, 32, false},
    {10901, 152, "IQOP6_CALIB_DATA_FREQ", nullptr, 70, false},
    {12193, 812, "CWOP3_DET_TUNE_D_FREQ", nullptr, 100, false},
    {12290, 412, "CWOP_DETLINCORR_A_FREQ", nullptr, 50, false},
    {12050, 1052, "EXT_CAL_DAT_A_FREQ", nullptr, 260, false},
    {12152, 1052, "EXT_CAL_DAT_C_FREQ_2_EDITION", nullptr, 260, false},
    {12070, 2012, "EXT_CAL_DAT_A_FREQ_ENH", nullptr, 500, false},
    {12091, 2012, "EXT_CAL_DAT_B_FREQ_2_EDITION_ENH", nullptr, 500, false},
    {12173, 612, "ATT_CAL_DAT_D_FREQ_2_EDITION", nullptr, 150, false},
    {12101, 2412, "PATH_B_IQ_IMBALANCE_RF_FREQ", nullptr, 600, false},
    {12212, 5444, "PATH_C_RF_RESPONSE_LP_FREQ", nullptr, 150, false},
    {12223, 92, "PATH_D_RF_RESPONSE_IOPEP_INFO", nullptr, 20, false},
    {12250, 412, "PATH_A_RF_RESPONSE_BB_FREQ", nullptr, 100, false},
    {12261, 812, "PATH_B_RF_RESPONSE_ATT_FREQ", nullptr, 200, false},
    {13000, 92, "BBINS_COMP_FIL_TAPS_I", nullptr, 20, false},
    {13050, 92, "BBINS_COMP_FIL_TAPS_Q", nullptr, 20, false},
    {13100, 212, "BBINS_UNCALIBRATED_FIR_AMPLITUDE_I", nullptr, 50, false},
    {13101, 212, "BBINS_UNCALIBRATED_FIR_PHI_I", nullptr, 50, false},
    {13102, 212, "BBINS_UNCALIBRATED_FIR_AMPLITUDE_Q", nullptr, 50, false},
    {13103, 212, "BBINS_UNCALIBRATED_FIR_PHI_Q", nullptr, 50, false},
    {13500, 116, "DACB_FREQUENCY_COMP_FREQ", nullptr, 26, false},
    {13800, 16, "DACB_FREQUENCY_COMP_DT", nullptr, 2, false},
    {14600, 16, "DACB_FREQUENCY_COMP_DT_REAR", nullptr, 2, false},
    {13900, 116, "DACB_IQ_IMBALANCE_FREQ", nullptr, 26, false},
    {15600, 252, "DVK_ANALOG_IMBALANCE_FREQ", nullptr, 30, false},
    {15650, 108, "ADU_LEV_COARSE_CAL_VALUE", nullptr, 12, false},
    {15020, 812, "LIMITER_FREQUENCY_NODE_GHZ", nullptr, 100, false},
    {12040, 6012, "LEV_CAL_DAT_FREQ", nullptr, 1500, false},
    {12044, 812, "ATT_CAL_DAT_FREQ", nullptr, 200, false},
    {12046, 2012, "ATT_CAL_DAT_FREQ_SE", nullptr, 500, false},
    {12042, 3012, "LEV_CAL_DAT_ABS_CORR", nullptr, 1500, false},
    {12110, 1212, "PATH_A_IQ_IMBALANCE_RF_EVEN_AMP", "PATH_A_IQ_IMBALANCE_RF_FREQ", 600, false},
    {12121, 1212, "PATH_B_IQ_IMBALANCE_RF_EVEN_PH", "PATH_B_IQ_IMBALANCE_RF_FREQ", 600, false},
    {12132, 1212, "PATH_C_IQ_IMBALANCE_RF_ODD_AMP", "PATH_C_IQ_IMBALANCE_RF_FREQ", 600, false},
    {12143, 1212, "PATH_D_IQ_IMBALANCE_RF_ODD_PH", "PATH_D_IQ_IMBALANCE_RF_FREQ", 600, false},
    {13600, 64, "DACB_FREQUENCY_COMP_AMP", "DACB_FREQUENCY_COMP_FREQ", 26, false},
    {13700, 64, "DACB_FREQUENCY_COMP_PH", "DACB_FREQUENCY_COMP_FREQ", 26, false},
    {14400, 64, "DACB_FREQUENCY_COMP_AMP_REAR", "DACB_FREQUENCY_COMP_FREQ", 26, false},
    {14500, 64, "DACB_FREQUENCY_COMP_PH_REAR", "DACB_FREQUENCY_COMP_FREQ", 26, false},
    {14000, 64, "DACB_IQ_IMBALANCE_AMP", "DACB_IQ_IMBALANCE_FREQ", 26, false},
    {14100, 64, "DACB_IQ_IMBALANCE_PH", "DACB_IQ_IMBALANCE_FREQ", 26, false},
    {14200, 64, "DACB_IQ_IMBALANCE_SWAP_AMP", "DACB_IQ_IMBALANCE_FREQ", 26, false},
    {14300, 64, "DACB_IQ_IMBALANCE_SWAP_PH", "DACB_IQ_IMBALANCE_FREQ", 26, false},
    {14700, 64, "DACB_IQ_IMBALANCE_REAR_AMP", "DACB_IQ_IMBALANCE_FREQ", 26, false},
    {14800, 64, "DACB_IQ_IMBALANCE_REAR_PH", "DACB_IQ_IMBALANCE_FREQ", 26, false},
    {15601, 132, "DVK_ANALOG_IMBALANCE_DATA", "DVK_ANALOG_IMBALANCE_FREQ", 30, true},
    {15602, 132, "DVK_ANALOG_IMBALANCE_DATA", "DVK_ANALOG_IMBALANCE_FREQ", 30, true},
    {15603, 132, "DVK_ANALOG_IMBALANCE_DATA", "DVK_ANALOG_IMBALANCE_FREQ", 30, true},
    {15604, 132, "DVK_ANALOG_IMBALANCE_DATA", "DVK_ANALOG_IMBALANCE_FREQ", 30, true},
    {15021, 812, "LIMITER_MAX_VOLTAGE", "LIMITER_FREQUENCY_NODE_GHZ", 100, false},
};

const char* countKeyOf(std::uint16_t id) {
    return id == 10900 ? "COUNT_BZ:" : "COUNT:";
}

// A section of `count` entries of the value 1 (or five values per entry).
std::string sectionWithCount(const Limit& limit, const std::string& count, std::int64_t entries) {
    std::string text;
    const bool oneLine = limit.id == 12042;
    if (limit.companion != nullptr) {
        text += std::string("ID: ") + limit.companion + "\nCOUNT: " + count + "\n";
        for (std::int64_t i = 0; i < entries; ++i) text += std::to_string(i + 1) + ": 1\n";
        text += std::string("ID: ") + limit.name + "\n";
    } else {
        text += std::string("ID: ") + limit.name + "\n" + countKeyOf(limit.id) + " " + count + "\n";
        if (oneLine) text += "1:";
    }
    for (std::int64_t i = 0; i < entries; ++i) {
        if (oneLine) {
            text += " 1";
        } else {
            text += std::to_string(i + 1) + (limit.fiveColumns ? ": 1 1 1 1 1\n" : ": 1\n");
        }
    }
    // The lowpass frequencies carry eight further counted lists.
    if (limit.id >= 12210 && limit.id < 12214) {
        for (int n = 0; n < 8; ++n) text += "COUNT: 0\n";
    }
    return text + "\n";
}

class LayoutTextLimit : public ::testing::TestWithParam<Limit> {};

TEST_P(LayoutTextLimit, CountAtTheLimitIsRead) {
    const Limit& limit = GetParam();
    ReadResult result = readByLayout(
        sectionWithCount(limit, std::to_string(limit.limit), limit.limit), limit.id, limit.size);
    ASSERT_EQ(result.status, 0) << result.message;
    EXPECT_EQ(readU32(result.bytes, 8), static_cast<std::uint32_t>(limit.limit));
    EXPECT_EQ(readU16(result.bytes, 0), limit.id);
}

TEST_P(LayoutTextLimit, CountAboveTheLimitNamesTheCountedBlock) {
    const Limit& limit = GetParam();
    const std::string named = limit.companion != nullptr ? limit.companion : limit.name;
    for (const std::string& count :
         {std::to_string(limit.limit + 1), std::string("2147483648"), std::string("-1")}) {
        ReadResult result =
            readByLayout(sectionWithCount(limit, count, limit.limit + 1), limit.id, limit.size);
        EXPECT_EQ(result.status, 2) << count;
        EXPECT_EQ(result.message, " count of Block " + named + " is too high") << count;
    }
}

TEST_P(LayoutTextLimit, ValueThatDoesNotParseIsNotASuccess) {
    const Limit& limit = GetParam();
    std::string text = sectionWithCount(limit, "1", 0);
    // The value of the block's own section is spoiled.
    if (limit.id >= 12210 && limit.id < 12214) {
        text = std::string("ID: ") + limit.name + "\nCOUNT: 1\n1: x1\n";
    } else {
        text.insert(text.size() - 1, limit.id == 12042 ? " x1\n" : "1: x1\n");
    }
    ReadResult result = readByLayout(text, limit.id, limit.size);
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.message, std::string("invalid value in ASCII-File, block ") + limit.name);
}

TEST_P(LayoutTextLimit, MissingRequiredSectionNamesItsIdentifier) {
    const Limit& limit = GetParam();
    ReadResult result =
        readByLayout("ID: SOMETHING_ELSE\nCOUNT: 1\n1: 1\n\n", limit.id, limit.size);
    EXPECT_EQ(result.status, 1);
    const std::string first = limit.companion != nullptr ? limit.companion : limit.name;
    EXPECT_EQ(result.message, "can not find string:  " + first + "  in ASCII-File");
}

INSTANTIATE_TEST_SUITE_P(LayoutText, LayoutTextLimit, ::testing::ValuesIn(kLimits),
                         [](const ::testing::TestParamInfo<Limit>& param) {
                             return std::to_string(param.param.id);
                         });

TEST(LayoutTextRows, EveryCountedRowHasItsLimitChecked) {
    std::set<std::uint16_t> checked;
    for (const Limit& limit : kLimits) checked.insert(limit.id);
    auto covered = [&](std::uint16_t base, std::uint8_t instances) {
        for (std::uint16_t id = base; id < base + instances; ++id) {
            if (checked.count(id) != 0) return true;
        }
        return false;
    };
    for (const SingleValueLayout& row : singleValueLayouts()) EXPECT_TRUE(covered(row.id, 1));
    for (const ListLayout& row : listLayouts()) EXPECT_TRUE(covered(row.baseId, row.instances));
    for (const CompanionLayout& row : companionLayouts()) {
        EXPECT_TRUE(covered(row.baseId, row.instances)) << row.baseId;
    }
}

TEST(LayoutTextRows, SizesMatchTheirElements) {
    for (const ListLayout& row : listLayouts()) {
        std::size_t lists = row.shape == ListShape::NineLowpasses ? 9 : 1;
        EXPECT_EQ(row.size, row.elementOffset + lists * row.capacity * elementWidth(row.element))
            << row.baseId;
        EXPECT_EQ(row.limit, row.capacity) << row.baseId;
    }
    for (const CompanionLayout& row : companionLayouts()) {
        EXPECT_EQ(row.size, 12 + row.capacity * elementWidth(row.element)) << row.baseId;
    }
    for (const RecordLayout& row : recordLayouts()) {
        const RecordField& last = row.fields[row.fieldCount - 1];
        std::size_t width = last.element == Element::Word ? last.width : elementWidth(last.element);
        EXPECT_EQ(row.size, last.offset + width) << row.identifier;
    }
}

// ---- absent sections -----------------------------------------------------------

TEST(LayoutTextAbsent, OptionalSectionLeavesTheStreamForTheNextReader) {
    // BABO: the model is optional and absent; the serial number follows.
    std::istringstream in("ID: SERIAL_NUMBER\nSN: 4711\n\n");
    std::ostringstream diagnostics;
    TextInput text(in, diagnostics);
    RawBlock model(12001, 40, 0), serial(12000, 12, 1);
    layoutReaderFor(12001)(text, model);
    layoutReaderFor(12000)(text, serial);
    EXPECT_EQ(hex(model.bytes()), hex(Image(12001, 40).bytes()));
    EXPECT_EQ(hex(serial.bytes()), hex(Image(12000, 12).u32(8, 4711).bytes()));
}

TEST(LayoutTextAbsent, FrequencyListsOfTheExtCalFamilyAndAbsCorrLeaveIdZero) {
    for (auto [id, size] :
         {std::pair<std::uint16_t, std::size_t>{12051, 1052}, {12042, 3012}, {12071, 2012}}) {
        ReadResult result = readByLayout("ID: OTHER\nCOUNT: 1\n1: 1\n", id, size, 0);
        ASSERT_EQ(result.status, 0);
        EXPECT_EQ(hex(result.bytes), hex(Image(0, size).bytes())) << id;
    }
}

TEST(LayoutTextAbsent, OtherTypesKeepTheirIdWithZeroValues) {
    for (auto [id, size] : {std::pair<std::uint16_t, std::size_t>{10601, 612},
                            {10000, 16},
                            {12112, 1212},
                            {10502, 28},
                            {11301, 16}}) {
        ReadResult result = readByLayout("ID: OTHER\nCOUNT: 1\n1: 1\n", id, size, 0);
        ASSERT_EQ(result.status, 0);
        EXPECT_EQ(hex(result.bytes), hex(Image(id, size).bytes())) << id;
    }
}

// ---- special reading rules ---------------------------------------------------

TEST(LayoutTextRules, FrequenciesAreFlooredToTheirUnit) {
    ReadResult tenHz = readByLayout(
        "ID: SATT3_CALIB_FREQ\nCOUNT: 3\n1: 1000000.01\n2: 999999.99\n3: 19.999\n", 10601, 612);
    EXPECT_EQ(hex(tenHz.bytes),
              hex(Image(10601, 612).u32(8, 3).u32(12, 100000).u32(16, 99999).u32(20, 1).bytes()));
    ReadResult hundredHz = readByLayout("ID: ATT_CAL_DAT_FREQ\nCOUNT: 1\n1: 12399.9\n", 12044, 812);
    EXPECT_EQ(hex(hundredHz.bytes), hex(Image(12044, 812).u32(8, 1).u32(12, 123).bytes()));
    // Megahertz round: add 0.5, then truncate.
    ReadResult mhz =
        readByLayout("ID: IQOP6_CALIB_DATA_FREQ\nCOUNT: 2\n0: 1499999\n1: 1500000\n", 10901, 152);
    EXPECT_EQ(hex(mhz.bytes), hex(Image(10901, 152).u32(8, 2).u16(12, 1).u16(14, 2).bytes()));
}

TEST(LayoutTextRules, IqImbalanceValuesAreClampedBeforeTheirLowBitsAreKept) {
    ReadResult result = readByLayout(
        "ID: PATH_A_IQ_IMBALANCE_RF_FREQ\nCOUNT: 4\n1: 1\n2: 2\n3: 3\n4: 4\n"
        "ID: PATH_A_IQ_IMBALANCE_RF_ODD_AMP\n1: -65536\n2: 65535\n3: -70000\n4: 70000\n",
        12130, 1212);
    EXPECT_EQ(hex(result.bytes), hex(Image(12130, 1212)
                                         .u32(8, 4)
                                         .u16(12, 0)
                                         .u16(14, 0xFFFF)
                                         .u16(16, 0)
                                         .u16(18, 0xFFFF)
                                         .bytes()));
}

TEST(LayoutTextRules, CounterTakesItsIdentifierFromTheText) {
    ReadResult result = readByLayout(
        "ID: SATT3_CALIB_FREQ\nID:  SATT3_OWLD_COUNTER_2\nCOUNT_VALUE: 12\n", 10604, 12);
    EXPECT_EQ(hex(result.bytes), hex(Image(10605, 12).u32(8, 12).bytes()));
}

TEST(LayoutTextRules, ModelNameIsCutToLeaveItsTerminator) {
    ReadResult result = readByLayout(
        "ID: GENERATOR_MODEL\nMODEL: ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789\n", 12001, 40);
    EXPECT_EQ(hex(result.bytes),
              hex(Image(12001, 40).text(8, "ABCDEFGHIJKLMNOPQRSTUVWXYZ01234").bytes()));
}

TEST(LayoutTextRules, EmptyModelNameIsWrittenAsABareKey) {
    EXPECT_EQ(writeByLayout(Image(12001, 40).bytes()),
              "# Das ist der Modellname des GXR`s\nID:              GENERATOR_MODEL\n"
              "MODEL:           \n\n");
}

TEST(LayoutTextRules, DvkImbalanceTableKeepsOneColumnPerBlock) {
    const std::string text =
        "ID: DVK_ANALOG_IMBALANCE_FREQ\nCOUNT: 2\n1: 100\n2: 200\n"
        "ID: DVK_ANALOG_IMBALANCE_DATA\n1: 100 1.5 2.5 3.5 4.5\n2: 200 -1 -2 -3 -4\n";
    const std::pair<std::uint16_t, float> firsts[] = {
        {15601, 1.5f}, {15603, 2.5f}, {15602, 3.5f}, {15604, 4.5f}};
    for (auto [id, first] : firsts) {
        ReadResult result = readByLayout(text, id, 132);
        ASSERT_EQ(result.status, 0) << result.message;
        float second = -1.0f - static_cast<float>((first - 1.5f));
        EXPECT_EQ(hex(result.bytes),
                  hex(Image(id, 132).u32(8, 2).f32(12, first).f32(16, second).bytes()))
            << id;
    }
}

TEST(LayoutTextRules, DvkImbalanceDataIsWrittenOneValuePerLine) {
    Bytes image = Image(15602, 132).u32(8, 2).f32(12, 0.25f).f32(16, -8.0f).bytes();
    EXPECT_EQ(writeByLayout(image),
              "#Das sind die GainWerte Q der DVK ANALOG Imbalance\n"
              "ID:              DVK_ANALOG_IMBALANCE_DATA\n1: 0.25\n2: -8\n\n");
    Bytes phase = Image(15604, 132).bytes();
    EXPECT_EQ(writeByLayout(phase),
              "#Das sind die Phasenwerte Q der DVK ANALOG Imbalance \n"
              "ID:              DVK_ANALOG_IMBALANCE_DATA\n\n");
}

TEST(LayoutTextRules, StoredCountBeyondTheCapacityWritesOnlyTheSlots) {
    Bytes image = Image(13800, 16).u32(8, 1000).i16(12, 1).i16(14, 2).bytes();
    EXPECT_EQ(writeByLayout(image),
              "#Das ist der dt-Wert [1/1e12]\nID:              DACB_FREQUENCY_COMP_DT\n"
              "COUNT:           1000\n1:             1\n2:             2\n\n");
}

TEST(LayoutTextRules, IdentifierIsAWholeToken) {
    // "LIMITER_MAX_VOLTAGE_PUM_ON" is not the section of LIMITER_MAX_VOLTAGE.
    ReadResult result = readByLayout(
        "ID: LIMITER_FREQUENCY_NODE_GHZ\nCOUNT: 1\n1: 2\nID: LIMITER_MAX_VOLTAGE_PUM_ON\n1: 9\n"
        "ID: LIMITER_MAX_VOLTAGE\n1: 4\n",
        15021, 812);
    EXPECT_EQ(hex(result.bytes), hex(Image(15021, 812).u32(8, 1).f64(12, 4.0).bytes()));
}

}  // namespace
}  // namespace quenmap::test
