#include "driver/boardtable.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

namespace quenmap {
namespace {

TEST(BoardTable, RowsAndTerminator) {
    const BoardEntry* table = boardTable();
    for (int i = 0; i <= kBoardCount; ++i) {
        EXPECT_EQ(table[i].index, i);
        EXPECT_EQ(std::strlen(table[i].unitName), 13u) << i;
    }
    EXPECT_STREQ(table[85].boardName, "LAST");
    EXPECT_STREQ(table[85].unitName, "LAST         ");
    EXPECT_STREQ(table[85].fileStem, "last");
}

TEST(BoardTable, NamedRows) {
    struct Row {
        int index;
        const char* board;
        const char* unit;
        const char* stem;
    };
    const Row rows[] = {
        {0, "DACIF", "DACIF        ", "dacif"},
        {1, "DACB", "DACB         ", "dacboard"},
        {8, "IQOP3", "IQOP3_LCM    ", "iqop3"},
        {15, "LOWPHASENOISE", "LOWPHASENOISE", "lowphasenoise"},
        {16, "OVERVOLTAGE", "OVERVOLTAGE  ", "overvoltageprot"},
        {18, "IQOP3_RFM", "IQOP3_RFM    ", "rfm"},
        {19, "FMR6", "FRONTMODUL   ", "fmr6"},
        {54, "FD_SWITCH", "FD_SWITCH    ", "fdswitch"},
        {55, "FILT_2", "FILT_2       ", "filt_2"},
        {58, "EX_IQ_BOX_IN", "EX_IQ_BOX    ", "exbox_in"},
        {59, "EX_IQ_BOX_OUT", "EX_IQ_BOX    ", "exbox_out"},
        {60, "DACB", "DACB         ", "sudaconverter"},
        {65, "STEREOCODER", "STEREOCODER  ", "stereocoder"},
        {72, "DVKW_ANALOG", "DVKW_ANALOG  ", "dvwkanalog"},
        {82, "Controller", "CPU          ", "cpu"},
        {83, "Attenuator", "ATT          ", "att"},
        {84, "Doubler", "DOUB         ", "doub"},
    };
    const BoardEntry* table = boardTable();
    for (const Row& row : rows) {
        EXPECT_STREQ(table[row.index].boardName, row.board) << row.index;
        EXPECT_STREQ(table[row.index].unitName, row.unit) << row.index;
        EXPECT_STREQ(table[row.index].fileStem, row.stem) << row.index;
    }
    std::set<std::string> distinct;
    for (int i = 0; i < kBoardCount; ++i) distinct.insert(table[i].unitName);
    EXPECT_EQ(distinct.size(), 81u);  // DACB, DOUB, EX_IQ_BOX and BABO occur twice
}

TEST(BoardTable, DeviceCheck) {
    struct Case {
        const char* name;
        bool supported;
    };
    const Case cases[] = {
        {"SATT3        ", true},  {"SATT3", false},  // the ident reader always pads to 13
        {"satt3        ", false}, {"LOWPHASENOISE", true},  {"LOWPHASENOISEX", true},
        {"EX_IQ_BOX    ", true},  {"LAST         ", false}, {"", false},
        {"STEREOCODER  ", true},  {"DOUB         ", true},
    };
    for (const Case& c : cases) EXPECT_EQ(isSupportedDevice(c.name), c.supported) << c.name;
    EXPECT_EQ(padUnitName("SSYN"), "SSYN         ");
    EXPECT_EQ(padUnitName("LOWPHASENOISE_LONG"), "LOWPHASENOISE");
}

}  // namespace
}  // namespace quenmap
