// The catalogue as a whole: the rows, the binary dispatch, the block names of
// a single-block conversion and the complete-conversion list of every board.

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "datablocks/blockcatalogue.h"
#include "datablocks/catalogueclasses.h"
#include "datablocks/families/catalogueblock.h"
#include "driver/blockselection.h"

namespace quenmap {
namespace {

TEST(DatablockCatalogue, RowsAreUniqueAndMatchTheirClasses) {
    std::set<std::string> classNames;
    std::set<std::uint32_t> ids;
    for (const BlockType* type = blockTypesBegin(); type != blockTypesEnd(); ++type) {
        SCOPED_TRACE(type->className);
        EXPECT_TRUE(classNames.insert(type->className).second) << "class listed twice";
        EXPECT_EQ(&blockType(type->kind), type);
        for (std::uint32_t i = 0; i < type->instances; ++i) {
            EXPECT_TRUE(ids.insert(type->baseId + i).second) << "id " << type->baseId + i;
        }
        std::unique_ptr<HwDatablock> block = type->create(0, 1);
        ASSERT_NE(block, nullptr);
        EXPECT_STREQ(block->className(), type->className);
        EXPECT_EQ(block->blockSize(), type->size);
        EXPECT_EQ(block->byteCount(), type->size);
    }
}

// What the dispatch must create: ids first..last of one class (nullptr: a
// row-by-column table class, checked by its size once its row exists).
struct DispatchExpectation {
    std::uint16_t first;
    std::uint16_t last;
    const char* className;
    std::size_t size;
};

const DispatchExpectation kDispatch[] = {
    {2, 2, "HwDatablockIdent", 44},
    {10, 10, "HwDatablockIdent", 44},
    {100, 100, "HwDatablockModification", 28},
    {200, 209, "HwDatablockServiceData", 24},
    {300, 300, "HwDatablockStatistic", 12},
    {10000, 10000, "HwDatablockSsynOcxoRefCalValue", 16},
    {10001, 10001, "HwDatablockSsynOpuDblCoefficient", 36},
    {10002, 10002, "HwDatablockSsynOpuLevelFreq", 412},
    {10003, 10003, "HwSDatablockSsynOpuLevel", 212},
    {10300, 10300, "HwDatablockIqOp3RfmHarmonic", 32},
    {10301, 10301, "HwDatablockIqOp3RfmCalibDataMisc", 168},
    {10302, 10302, "HwDatablockIqOp3RfmCalibDataFreq", 1212},
    {10303, 10314, "HwSDatablockIqOp3RfmCalibData", 2412},
    {10315, 10315, "HwDatablockIqOp3RfmCalibDataMiscV20", 116},
    {10316, 10316, "HwSDatablockIqOp3RfmCalibDataV20", 14408},
    {10500, 10500, "HwDatablockCwOp3AmGainFreq", 1612},
    {10501, 10501, "HwSDatablockCwOp3AmGainData", 1608},
    {10502, 10502, "HwDatablockCwop6VcoIdent", 28},
    {10503, 10504, "HwDatablockMiscIdent", 44},
    {10601, 10601, "HwSDatablockSAtt3CalibDataFreq", 612},
    {10602, 10602, "HwDatablockSAtt3CalibDataAtt", 8108},
    {10603, 10603, "HwDatablockSAtt3CalibDataTemp", 4060},
    {10604, 10605, "HwDatablockSAtt3OWLDCounter", 12},
    {10900, 10900, "HwDatablockIqOp6PmaxBz", 44},
    {10901, 10901, "HwDatablockIqOp6CalibDataFreq", 152},
    {10902, 10902, "HwDatablockIqOp6CalibData", 4628},
    {11001, 11001, "HwSDatablockSAtt6CalibDataAtt", 8108},
    {11200, 11200, "HwSDatablockSAtt6CalibDataFreq", 612},
    {11202, 11202, "HwDatablockSAtt6CalibDataTemp", 4060},
    {11203, 11204, "HwDatablockSAtt6OWLDCounter", 12},
    {11300, 11303, "HwDatablockSattcCounter", 16},
    {11304, 11304, nullptr, 2064},
    {11305, 11305, nullptr, 216},
    {11306, 11307, nullptr, 816},
    {12000, 12000, "HwSDatablockMbrdSerialNumber", 12},
    {12001, 12001, "HwDatablockMbrdModel", 40},
    {12040, 12040, "HwDatablockGxpMwIfExtLevCalDataFreq", 6012},
    {12041, 12041, "HwSDatablockGxpMwIfExtLevCalData", 60016},
    {12042, 12042, "HwDatablockGxpMwIfExtLevCalDataAbsCorr", 3012},
    {12043, 12043, "HwSDatablockGxpMwIfExtLevCalDataRelCorr", 60016},
    {12044, 12044, "HwDatablockGxpAttCalDatFreq", 812},
    {12045, 12045, "HwSDatablockGxpAttCalDat", 8016},
    {12046, 12046, "HwDatablockGxpAttCalDatFreqSe", 2012},
    {12047, 12047, "HwSDatablockGxpAttCalDatSe", 20016},
    {12050, 12051, "HwDatablockMbrdExtLevCalDataFreq", 1052},
    {12060, 12061, "HwSDatablockMbrdExtLevCalData", 3652},
    {12070, 12071, "HwDatablockMbrdExtLevCalDataFreq_Enh", 2012},
    {12080, 12081, "HwSDatablockMbrdExtLevCalData_Enh", 7012},
    {12090, 12091, "HwDatablockMbrdExtLevCalDataFreq2Edition_Enh", 2012},
    {12095, 12096, "HwSDatablockMbrdExtLevCalData2Edition_Enh", 13012},
    {12100, 12101, "HwSDatablockMbrdIqImbalanceRfFreq", 2412},
    {12110, 12111, "HwDatablockMbrdIqImbalanceRfEvenAmp", 1212},
    {12120, 12121, "HwDatablockMbrdIqImbalanceRfEvenPh", 1212},
    {12130, 12131, "HwDatablockMbrdIqImbalanceRfOddAmp", 1212},
    {12140, 12141, "HwDatablockMbrdIqImbalanceRfOddPh", 1212},
    {12150, 12151, "HwDatablockMbrdExtLevCalDataFreq2Edition", 1052},
    {12160, 12161, "HwSDatablockMbrdExtLevCalData2Edition", 3652},
    {12170, 12171, "HwSDatablockAttCalibDataFreq2Edition", 612},
    {12180, 12181, "HwSDatablockAttCalibData2Edition", 8112},
    {12190, 12191, "HwSDatablockCwop3DetTuneFreq", 812},
    {12200, 12201, "HwSDatablockCwop3DetTuneDac", 412},
    {12210, 12211, "HwSDatablockMbrdRfResponseLpFreq", 5444},
    {12220, 12221, "HwDatablockMbrdRfResponseIoPepInfo", 92},
    {12230, 12231, "HwSDatablockMbrdRfResponseLpAmp", 21644},
    {12240, 12241, "HwSDatablockMbrdRfResponseLpPh", 21644},
    {12250, 12251, "HwDatablockMbrdRfResponseBbFreq", 412},
    {12260, 12261, "HwDatablockMbrdRfResponseAttFreq", 812},
    {12270, 12271, "HwSDatablockMbrdRfResponseAttAmpl", 9612},
    {12280, 12280, "HwDatablockDphMbrdPllDacCalibValue", 16},
    {12290, 12291, "HwSDatablockCwopDetLinCorrFreq", 412},
    {12292, 12293, "HwSDatablockCwopDetLinCorrData", 4012},
    {12300, 12304, nullptr, 816},
    {12305, 12305, nullptr, 216},
    {12306, 12308, nullptr, 40016},
    {12310, 12310, nullptr, 56},
    {12311, 12311, nullptr, 20},
    {12312, 12312, nullptr, 56},
    {12313, 12315, nullptr, 416},
    {12500, 12500, "HwDatablockDacIfFullScale", 12},
    {13000, 13000, "HwSDatablockBbinsCompFilterTabsI", 92},
    {13050, 13050, "HwDatablockBbinsCompFilterTabsQ", 92},
    {13100, 13100, "HwDatablockBbinsUncalibratedFirAmplitudeI", 212},
    {13101, 13101, "HwDatablockBbinsUncalibratedFirPhiI", 212},
    {13102, 13102, "HwDatablockBbinsUncalibratedFirAmplitudeQ", 212},
    {13103, 13103, "HwDatablockBbinsUncalibratedFirPhiQ", 212},
    {13500, 13500, "HwDatablockDacbFrequencyCompFreq", 116},
    {13600, 13600, "HwDatablockDacbFrequencyCompAmp", 64},
    {13700, 13700, "HwDatablockDacbFrequencyCompPh", 64},
    {13800, 13800, "HwSDatablockDacbFrequencyCompDt", 16},
    {13900, 13900, "HwSDatablockDacbIqImbalanceFreq", 116},
    {14000, 14000, "HwDatablockDacbIqImbalanceAmp", 64},
    {14100, 14100, "HwDatablockDacbIqImbalancePh", 64},
    {14200, 14200, "HwDatablockDacbIqImbalanceSwapAmp", 64},
    {14300, 14300, "HwDatablockDacbIqImbalanceSwapPh", 64},
    {14400, 14400, "HwSDatablockDacbFrequencyCompAmpRear", 64},
    {14500, 14500, "HwDatablockDacbFrequencyCompPhRear", 64},
    {14600, 14600, "HwSDatablockDacbFrequencyCompDtRear", 16},
    {14700, 14700, "HwSDatablockDacbIqImbalanceRearAmp", 64},
    {14800, 14800, "HwDatablockDacbIqImbalanceRearPh", 64},
    {14801, 14802, nullptr, 56},
    {14803, 14804, nullptr, 2416},
    {14805, 14806, nullptr, 15776},
    {15000, 15000, "HwDatablockSynexOcxoRefCalValue", 16},
    {15001, 15001, "HwDatablockFsynTcxoRefCalValue", 16},
    {15002, 15002, "HwDatablockGxpOcxoRefCalValue", 16},
    {15020, 15020, "HwDatablockDetLimiterMaxVoltFreq", 812},
    {15021, 15021, "HwDatablockDetLimiterMaxVoltData", 812},
    {15022, 15023, nullptr, 56},
    {15024, 15026, nullptr, 20},
    {15027, 15028, nullptr, 416},
    {15600, 15600, "HwSDatablockDvkAnalogImbalanceFreq", 252},
    {15601, 15601, "HwSDatablockDvkAnalogImbalanceGainI", 132},
    {15602, 15602, "HwSDatablockDvkAnalogImbalanceGainQ", 132},
    {15603, 15603, "HwDatablockDvkAnalogImbalancePhI", 132},
    {15604, 15604, "HwDatablockDvkAnalogImbalancePhQ", 132},
    {15605, 15605, "HwDatablockDvkBaseboardCalibValue", 16},
    {15606, 15619, nullptr, 1416},
    {15620, 15647, nullptr, 616},
    {15650, 15650, "HwDatablockAduLevCoarseCalibData", 108},
    {15652, 15652, "HwSDatablockAduGainOffsetCalData", 204},
    {15690, 15690, nullptr, 28},
    {15700, 15701, nullptr, 56},
    {15705, 15705, nullptr, 528},
    {15706, 15706, nullptr, 1040},
    {15710, 15710, nullptr, 48},
    {15715, 15715, nullptr, 528},
    {15716, 15716, nullptr, 1040},
    {15720, 15720, nullptr, 816},
    {15721, 15721, nullptr, 21724},
    {15725, 15725, nullptr, 1416},
    {15726, 15726, nullptr, 7016},
    {15730, 15730, nullptr, 56},
    {15731, 15731, nullptr, 176},
    {15735, 15735, nullptr, 216},
    {15740, 15740, nullptr, 1216},
    {15745, 15745, nullptr, 1216},
    {15750, 15750, nullptr, 216},
    {15755, 15755, nullptr, 616},
    {15756, 15756, nullptr, 21156},
    {15760, 15760, nullptr, 1616},
    {15761, 15761, nullptr, 32176},
    {15770, 15770, nullptr, 416},
    {15771, 15771, nullptr, 16336},
    {15798, 15799, nullptr, 816},
    {15810, 15810, nullptr, 144},
    {15811, 15811, nullptr, 528},
    {15820, 15820, nullptr, 144},
    {15821, 15821, nullptr, 528},
    {15830, 15830, nullptr, 144},
    {15831, 15831, nullptr, 528},
    {15840, 15840, nullptr, 1184},
    {15841, 15841, nullptr, 4688},
    {15842, 15842, nullptr, 96},
    {15843, 15843, nullptr, 2284},
    {15844, 15845, nullptr, 528},
    {15850, 15850, nullptr, 28},
    {15851, 15851, nullptr, 144},
    {15852, 15852, nullptr, 116},
    {15853, 15862, nullptr, 6416},
    {16000, 16000, nullptr, 3016},
    {16001, 16001, nullptr, 15176},
};

TEST(DatablockDispatch, ListHoldsTheIdsOfTheExpectedTypes) {
    std::vector<std::uint16_t> expected;
    for (const auto& range : kDispatch) {
        for (std::uint32_t id = range.first; id <= range.last; ++id) {
            expected.push_back(static_cast<std::uint16_t>(id));
        }
    }
    EXPECT_EQ(expected.size(), 281u);
    EXPECT_EQ(dispatchIds(), expected);
}

TEST(DatablockDispatch, EveryIdCreatesItsClassSizeAndInstance) {
    for (const auto& range : kDispatch) {
        for (std::uint32_t id = range.first; id <= range.last; ++id) {
            SCOPED_TRACE("id " + std::to_string(id));
            ASSERT_TRUE(isDispatchId(static_cast<std::uint16_t>(id)));
            std::unique_ptr<HwDatablock> block = createBlockForId(static_cast<std::uint16_t>(id));
            if (range.className == nullptr && block == nullptr) continue;  // table row not yet in
            ASSERT_NE(block, nullptr);
            if (range.className != nullptr) {
                EXPECT_STREQ(block->className(), range.className);
            }
            EXPECT_EQ(block->blockSize(), range.size);
            EXPECT_EQ(block->byteCount(), range.size);
            // The alternate ident id 10 creates the ident, which keeps id 2 until loaded.
            EXPECT_EQ(block->id(), id == 10 ? 2u : id);
            if (auto* named = dynamic_cast<const CatalogueBlock*>(block.get())) {
                EXPECT_EQ(named->instanceIndex(), id - range.first);
            }
        }
    }
}

TEST(DatablockDispatch, IdsOutsideTheListAreUnknown) {
    for (std::uint16_t id : {0, 1, 12182, 15648, 0xFFFE, 0xFFFF, 11201, 12052, 15651}) {
        EXPECT_FALSE(isDispatchId(id)) << id;
    }
}

// The accepted block names, written out from the name table of the board
// selection: rows of prefix + endings, PATHx families and numbered families.
struct NamedIds {
    std::string prefix;
    std::vector<const char*> endings;
    std::vector<std::uint16_t> ids;
};

std::vector<std::pair<std::string, std::uint16_t>> expectedNames() {
    std::vector<std::pair<std::string, std::uint16_t>> names;
    auto endings = [&](const NamedIds& row) {
        ASSERT_EQ(row.endings.size(), row.ids.size());
        for (std::size_t i = 0; i < row.ids.size(); ++i) {
            names.emplace_back(row.prefix + row.endings[i], row.ids[i]);
        }
    };
    // PATHx at the place of the "%" for paths A.. up to `paths`.
    auto paths = [&](const std::string& pattern, std::uint16_t base, int pathCount) {
        for (int p = 0; p < pathCount; ++p) {
            std::string name = pattern;
            name.replace(name.find('%'), 1, std::string("PATH") + static_cast<char>('A' + p));
            names.emplace_back(name, static_cast<std::uint16_t>(base + p));
        }
    };
    auto numbered = [&](const std::string& prefix, std::uint16_t base, int count) {
        for (int n = 0; n < count; ++n) {
            names.emplace_back(prefix + std::to_string(n), static_cast<std::uint16_t>(base + n));
        }
    };
    endings(
        {"BLOCK_", {"IDENT", "MODIFICATION_100", "MODIFICATION", "SERVICE"}, {2, 100, 100, 200}});
    for (int n = 200; n <= 209; ++n) names.emplace_back("BLOCK_SERVICE_" + std::to_string(n), 200);
    endings({"BLOCK_", {"STATISTICS"}, {300}});
    endings({"BLOCK_SSYN_",
             {"OCXOREFCALVALUE", "OPUDBLCOEFFICIENT", "OPULEVEL_FREQ", "OPULEVEL"},
             {10000, 10001, 10002, 10003}});
    paths("BLOCK_MBRD_%_EXTLEVCALIBDATAFREQ", 12050, 2);
    paths("BLOCK_MBRD_%_EXTLEVCALIBDATAFREQ_ENH", 12070, 2);
    paths("BLOCK_MBRD_%_EXTLEVCALIBDATA", 12060, 2);
    paths("BLOCK_MBRD_%_EXTLEVCALIBDATA_ENH", 12080, 2);
    paths("BLOCK_MBRD_%_EXTLEVCALIBDATAFREQ2EDITION", 12150, 2);
    paths("BLOCK_MBRD_%_EXTLEVCALIBDATAFREQ2EDITION_ENH", 12090, 2);
    paths("BLOCK_MBRD_%_EXTLEVCALIBDATA2EDITION", 12160, 2);
    paths("BLOCK_MBRD_%_EXTLEVCALIBDATA2EDITION_ENH", 12095, 2);
    paths("BLOCK_%_ATTCALIBDATAFREQ2EDITION", 12170, 4);
    paths("BLOCK_%_ATTCALIBDATA2EDITION", 12180, 4);
    paths("BLOCK_CWOP_%_DETLINCORRFREQ", 12290, 2);
    paths("BLOCK_CWOP_%_DETLINCORRDATA", 12292, 2);
    paths("BLOCK_%_CWOP3DETTUNEFREQ", 12190, 4);
    paths("BLOCK_%_CWOP3DETTUNEDAC", 12200, 4);
    endings({"BLOCK_MBRD_", {"SERIAL_NUMBER", "MODEL"}, {12000, 12001}});
    endings({"BLOCK_BBINS_", {"COMP_FILTER_TABS_I", "COMP_FILTER_TABS_Q"}, {13000, 13050}});
    endings({"BLOCK_BBINS_UNCALIBRATED_FIR",
             {"_AMPLITUDE_I", "_PHI_I", "_AMPLITUDE_Q", "_PHI_Q"},
             {13100, 13101, 13102, 13103}});
    endings({"BLOCK_DACB_FREQUENCY_COMP",
             {"_FREQ", "_AMP", "_PH", "_DT"},
             {13500, 13600, 13700, 13800}});
    endings({"BLOCK_DACB_FREQUENCY_COMP",
             {"_AMP_REAR", "_PH_REAR", "_DT_REAR"},
             {14400, 14500, 14600}});
    endings({"BLOCK_DACB_IQ_IMBALANCE",
             {"_FREQ", "_AMP", "_PH", "_SWAP_AMP", "_SWAP_PH", "_REAR_AMP", "_REAR_PH"},
             {13900, 14000, 14100, 14200, 14300, 14700, 14800}});
    paths("BLOCK_MBRD_%_IQ_IMBALANCE_RF_FREQ", 12100, 4);
    paths("BLOCK_MBRD_%_IQ_IMBALANCE_RF_EVEN_AMP", 12110, 4);
    paths("BLOCK_MBRD_%_IQ_IMBALANCE_RF_EVEN_PH", 12120, 4);
    paths("BLOCK_MBRD_%_IQ_IMBALANCE_RF_ODD_AMP", 12130, 4);
    paths("BLOCK_MBRD_%_IQ_IMBALANCE_RF_ODD_PH", 12140, 4);
    paths("BLOCK_MBRD_%_RF_RESPONSE_LP_PH", 12240, 4);
    paths("BLOCK_MBRD_%_RF_RESPONSE_LP_AMP", 12230, 4);
    paths("BLOCK_MBRD_%_RF_RESPONSE_IOPEP_INFO", 12220, 4);
    paths("BLOCK_MBRD_%_RF_RESPONSE_LP_FREQ", 12210, 4);
    paths("BLOCK_MBRD_%_RF_RESPONSE_ATT_AMP", 12270, 4);
    paths("BLOCK_MBRD_%_RF_RESPONSE_ATT_FREQ", 12260, 4);
    paths("BLOCK_MBRD_%_RF_RESPONSE_BB_FREQ", 12250, 4);
    endings({"BLOCK_SATTC_",
             {"OVLDCOUNTER", "OVLDCOUNTER_BACKUP", "HPCOUNTER", "HPCOUNTER_BACKUP"},
             {11300, 11301, 11302, 11303}});
    endings({"BLOCK_", {"DACIF_FULLSCALE", "SYNEX_OCXOREFCALVALUE"}, {12500, 15000}});
    endings({"BLOCK_IQOP3_RFM_",
             {"HARMONIC", "CALIB_DATA_MISC_V20", "CALIB_DATA_V20"},
             {10300, 10315, 10316}});
    endings({"BLOCK_",
             {"CWOP3_6_AM_GAIN_DATA", "CWOP3_6_AM_GAIN_FREQ", "CWOP6_VCO_IDENT"},
             {10501, 10500, 10502}});
    endings({"BLOCK_DVK_ANALOG_IMBALANCE",
             {"_FREQ", "_GAIN_I", "_PH_I", "_GAIN_Q", "_PH_Q"},
             {15600, 15601, 15603, 15602, 15604}});
    endings({"BLOCK_", {"DVK_BASEBOARD_CALIB_VALUE"}, {15605}});
    endings({"BLOCK_ADU_", {"LEV_COARSE_CALIBDATA", "OFFSET_CALIBDATA"}, {15650, 15652}});
    endings({"BLOCK_", {"DPH_MBRD_PLL_DAC_VALUE"}, {12280}});
    endings({"BLOCK_", {"FSYN_TCXOREFCALVALUE", "OCXO_OCXOREFCALVALUE"}, {15001, 15002}});
    endings({"BLOCK_DET_", {"LIMITER_MAX_VOLT_FREQ", "LIMITER_MAX_VOLT_DATA"}, {15020, 15021}});
    endings({"BLOCK_GXP_",
             {"EXTLEVCALIBDATAFREQ", "EXTLEVCALIBDATA", "EXTLEVCALIBDATA_ABSOLCORR",
              "EXTLEVCALIBDATA_RELCORR"},
             {12040, 12041, 12042, 12043}});
    endings(
        {"BLOCK_GXP_",
         {"ATTLEVCALIBDATAFREQ", "ATTLEVCALIBDATA", "ATTLEVCALIBDATAFREQ_SE", "ATTLEVCALIBDATA_SE"},
         {12044, 12045, 12046, 12047}});
    endings({"BLOCK_GXP_",
             {"EXTLOOPGAINCALIBDATAFREQ", "EXTLOOPGAINPK", "EXTLOOPGAINP_VALUEBASEPK",
              "EXTLOOPGAINI_VALUEBASEPK", "EXTLOOPGAINI_VALUEOFFSETPK"},
             {12300, 12301, 12302, 12303, 12304}});
    endings({"BLOCK_GXP_",
             {"EXTLOOPGAINPK_LIST", "EXTLOOPGAINP_VALUEBASEPK_LIST",
              "EXTLOOPGAINI_VALUEBASEPK_LIST", "EXTLOOPGAINI_VALUEOFFSETPK_LIST"},
             {12305, 12306, 12307, 12308}});
    endings({"BLOCK_",
             {"GXK_FREQCNTR_TCXOREFCALVALUE", "GXP_DCON_VTRIM", "GXP_DCON_LEVELPRE2"},
             {12312, 12310, 12311}});
    endings({"BLOCK_GXP_DCON_LIMITER_MAX_VOLT",
             {"_FREQ", "_DATA", "_DATA_PUM_ON"},
             {12313, 12314, 12315}});
    endings({"BLOCK_", {"GXP_MWIF_SATT_COUNTER", "STEROCODER_CO"}, {11304, 15690}});
    endings({"BLOCK_GXL_RFBO",
             {"_EXTIN_GAIN",       "_EXTIN_OFFSET",     "_DET_TUNE_FREQ",    "_DET_TUNE_DATA",
              "_TCXO_CAL",         "_RFLEVEL_MAX_FREQ", "_RFLEVEL_MAX_DATA", "_ATT_CAL_FREQ",
              "_ATT_CAL_DATA",     "_EXT_CAL_FREQ",     "_EXT_CAL_DATA",     "_ALC_FREQ",
              "_ALC_DATA",         "_TEMP_FREQ",        "_TEMP_GRADIENT",    "_TEMP_OFFSET",
              "_ATTREG_DATA",      "_SH_FREQ",          "_SH_DATA",          "_EXT_CAL_USER_FREQ",
              "_EXT_CAL_USER_DATA"},
             {15700, 15701, 15705, 15706, 15710, 15715, 15716, 15720, 15721, 15725, 15726,
              15730, 15731, 15735, 15740, 15745, 15750, 15755, 15756, 16000, 16001}});
    endings({"BLOCK_GXN_RFBO",
             {"_ATT_CAL_FREQ", "_ATT_CAL_DATA", "_TEMP_COMP_FREQ", "_TEMP_COMP_DATA",
              "_ATT_REG_ATTENUATION", "_ATT_REG_DATA"},
             {15760, 15761, 15770, 15771, 15798, 15799}});
    endings({"BLOCK_SATTC_", {"TEMP_FREQ", "TEMP_GRADIENT", "TEMP_OFFSET"}, {11305, 11306, 11307}});
    endings({"BLOCK_GXP_", {"TEMPERATURE", "TEMPCORR_LEVEL"}, {15022, 15023}});
    endings({"BLOCK_DET_",
             {"DIFF_TEMPERATURE", "TEMPCORR_LOW_FREQ", "TEMPCORR_HIGH_FREQ",
              "TEMPCORR_MIN_FREQ_VALUES", "TEMPCORR_MAX_FREQ_VALUES"},
             {15024, 15025, 15026, 15027, 15028}});
    paths("BLOCK_MBRD_%_IQ_INPUT", 14801, 2);
    endings({"BLOCK_GXLW_RFBO_", {"RFLEVEL_MAX_VEC_FREQ", "RFLEVEL_MAX_VEC_DATA"}, {15844, 15845}});
    endings({"BLOCK_GXLW_VECTOR",
             {"_ALC_FREQ", "_ALC_DATA", "_ALC_IQNORM_FREQ", "_ALC_IQNORM_DATA", "_ALC_IQWIDE_FREQ",
              "_ALC_IQWIDE_DATA"},
             {15810, 15811, 15820, 15821, 15830, 15831}});
    endings({"BLOCK_GXLW_VECTOR_LEVCON_TEMP", {"", "_FREQ", "_LEVCON"}, {15850, 15851, 15852}});
    numbered("BLOCK_GXLW_VECTOR_LEVCON_TEMP_DATA_", 15853, 10);
    endings({"BLOCK_GXLW_RFBO",
             {"_EXT_CAL_VEC_FREQ", "_EXT_CAL_VEC_DATA", "_ATT_CAL_VEC_FREQ", "_ATT_CAL_VEC_DATA"},
             {15840, 15841, 15842, 15843}});
    endings({"BLOCK_STREAM_", {"OPT_IDENT", "AUX_IDENT"}, {10503, 10504}});
    paths("BLOCK_MBRD_%_EXT_CAL_USER_FREQ", 14803, 2);
    paths("BLOCK_MBRD_%_EXT_CAL_USER_DATA", 14805, 2);
    numbered("BLOCK_DVK_WIQ_RFIMBALANCE_DATA_", 15606, 14);
    numbered("BLOCK_DVK_WIQ_SENSOR0_DATA_", 15620, 14);
    numbered("BLOCK_DVK_WIQ_SENSOR1_DATA_", 15634, 14);
    return names;
}

TEST(DatablockNames, EveryAcceptedNameGivesItsId) {
    const auto expected = expectedNames();
    std::set<std::string> distinct;
    for (const auto& [name, id] : expected) {
        distinct.insert(name);
        std::optional<std::uint16_t> found = blockIdForName(name);
        ASSERT_TRUE(found.has_value()) << name;
        EXPECT_EQ(*found, id) << name;
    }
    EXPECT_EQ(distinct.size(), expected.size());
    EXPECT_EQ(blockNames().size(), expected.size()) << "names beyond the table are accepted";
    EXPECT_EQ(blockIdForName("BLOCK_PATHC_ATTCALIBDATA2EDITION"), 12182);
    EXPECT_EQ(blockIdForName("BLOCK_DVK_WIQ_SENSOR1_DATA_12"), 15646);
}

TEST(DatablockNames, NamesOfClassesWithARowCreateThem) {
    for (const auto& [name, id] : expectedNames()) {
        const BlockType* type = blockTypeForId(id);
        if (type == nullptr) continue;  // table row not yet in
        std::unique_ptr<HwDatablock> block = createBlockForId(id);
        ASSERT_NE(block, nullptr) << name;
        EXPECT_EQ(block->id(), id) << name;
    }
}

TEST(DatablockNames, MisspelledAndLowerCaseNamesAreRefused) {
    for (const char* name :
         {"BLOCK_STEREOCODER_CO", "block_ident", "Block_Ident", "BLOCK_SSYN_OPULEVEL_freq",
          "COMPLETE_EEPROM", "", "BLOCK_IDENT ", "BLOCK_PATHE_ATTCALIBDATA2EDITION",
          "BLOCK_MBRD_PATHC_EXTLEVCALIBDATAFREQ", "BLOCK_DVK_WIQ_SENSOR1_DATA_14",
          "BLOCK_GXLW_VECTOR_LEVCON_TEMP_DATA_10", "BLOCK_SERVICE_210",
          "BLOCK_IQOP3_RFM_CALIB_DATA_MISC"}) {
        EXPECT_FALSE(blockIdForName(name).has_value()) << name;
    }
}

struct BoardExpectation {
    const char* unitName;
    int dataVersion;
    std::vector<std::uint16_t> readOrder;
    std::vector<std::uint16_t> writeOrder;
};

constexpr std::uint16_t kEnd = 0xFFFF;

TEST(DatablockBoardLists, EveryBoardReadsAndWritesItsBlocksInOrder) {
    std::vector<BoardExpectation> boards;
    for (const char* unit :
         {"IQOP3_LCM", "DACB",       "CODER",       "GXK_IF",   "IFBO",        "MOD",
          "DMA",       "FILT",       "FILT_2",      "HPA",      "HPA_2",       "DOUB",
          "DOUB_2",    "RFBO13",     "ATT13",       "GXN_RFBO", "DVKW_ANALOG", "DVKW_IQ",
          "STREAM",    "DVK_ANALOG", "DVK_DIGITAL", "FADER",    "IFB",         "LOSYNC",
          "FREQCNTR",  "TMO",        "RFBO",        "RFBO40",   "VECTORBOARD", "BBINR",
          "UNICOD",    "BBOUT",      "CLKSYN",      "SWI",      "RFBO20",      "LFPA",
          "BBGEN"}) {
        boards.push_back({unit, 0, {kEnd}, {kEnd}});
    }
    const std::vector<std::uint16_t> sattc = {11300, 11301, 11302, 11303,
                                              11305, 11307, 11306, kEnd};
    const std::vector<std::uint16_t> rfmOld = {10300, 10301, 10302, 10303, 10304, 10305,
                                               10306, 10307, 10308, 10309, 10310, kEnd};
    std::vector<std::uint16_t> rfmOldWrite = rfmOld;
    rfmOldWrite.insert(rfmOldWrite.end() - 1, {10311, 10312, 10313, 10314});
    const std::vector<std::uint16_t> rfmNew = {10300, 10315, 10316, 10302, kEnd};
    std::vector<BoardExpectation> own = {
        {"SATT3", 0, {10601, 10602, 10603, 10604, 10605, kEnd}, {}},
        {"SATT6", 0, {11200, 11001, 11202, 11203, 11204, kEnd}, {}},
        {"SATT3C", 0, sattc, {}},
        {"SATT6C", 0, sattc, {}},
        {"SSYN", 0, {10000, 10001, 10002, 10003, kEnd}, {}},
        {"MBRD", 0, {12001, kEnd}, {}},
        {"MWIF", 0, {12001, kEnd}, {}},
        {"BABO", 0, {12001, 12000, kEnd}, {}},
        {"IQOP3_RFM", 1, rfmOld, rfmOldWrite},  // data version 1.99
        {"IQOP3_RFM", 2, rfmNew, {}},           // data version 2.00
        {"IQOP3_RFM", 7, rfmNew, {}},
        {"SYNEX", 0, {15000, kEnd}, {}},
        {"FSYN", 0, {15001, kEnd}, {}},
        {"OCXO", 0, {15002, kEnd}, {}},
        {"IQOP6", 0, {10900, 10901, 10902, kEnd}, {}},
        {"CWOP3", 0, {10501, 10500, kEnd}, {}},
        {"CWOP6", 0, {10501, 10500, 10502, kEnd}, {}},
        {"DVK_BASEBOARD", 0, {15605, kEnd}, {}},
        {"DACIF", 0, {12500, kEnd}, {}},
        {"ADU", 0, {15650, 15652, kEnd}, {}},
        {"DET", 0, {15020, 15021, kEnd}, {}},
        {"BBINS", 0, {kEnd, 13101, 13100, 13103, 13102}, {13101, 13100, 13103, 13102, kEnd}},
        {"DCON",
         0,
         {12313, 12314, 12315, 12310, 12311, kEnd},
         {12310, 12311, 12313, 12314, 12315, kEnd}},
    };
    boards.insert(boards.end(), own.begin(), own.end());

    for (const BoardExpectation& board : boards) {
        SCOPED_TRACE(std::string(board.unitName) + " v" + std::to_string(board.dataVersion));
        std::string padded = board.unitName;
        padded.resize(13, ' ');
        const BoardConversion* conversion = findBoardConversion(padded, board.dataVersion);
        ASSERT_NE(conversion, nullptr);
        EXPECT_EQ(conversion->readOrder, board.readOrder);
        const auto& written =
            conversion->writeOrder.empty() ? conversion->readOrder : conversion->writeOrder;
        EXPECT_EQ(written, board.writeOrder.empty() ? board.readOrder : board.writeOrder);
        // Every own block of a list has its class (the row-by-column tables once their rows exist).
        const std::set<std::uint16_t> tableIds = {11305, 11306, 11307, 12310, 12311,
                                                  12312, 12313, 12314, 12315};
        for (std::uint16_t id : written) {
            if (id != kEnd && tableIds.count(id) == 0) {
                EXPECT_NE(blockTypeForId(id), nullptr) << id;
            }
        }
    }
    // The unit name is compared whole and case-sensitively.
    EXPECT_EQ(findBoardConversion("satt3        ", 0), nullptr);
    EXPECT_EQ(findBoardConversion("SATT3", 0), nullptr);
}

TEST(DatablockBoardLists, StereocoderRewritesOnlyTheIdent) {
    const BoardConversion* conversion = findBoardConversion("STEREOCODER  ", 0);
    ASSERT_NE(conversion, nullptr);
    EXPECT_EQ(conversion->style, ConversionStyle::Stereocoder);
    EXPECT_TRUE(conversion->readOrder.empty());
}

TEST(DatablockBoardLists, TwentyTwoBoardsHaveNoConversion) {
    const std::vector<std::string> expected = {"SATT6M",      "LOWPHASENOISE",
                                               "OVERVOLTAGE", "HIGHPOWER",
                                               "FRONTMODUL",  "FM_PHI_M",
                                               "GXKB89",      "PGEN",
                                               "PMOD",        "ATT22",
                                               "ATT44",       "UPC22",
                                               "UPC44",       "ESM",
                                               "FD_SWITCH",   "EX_IQ_BOX",
                                               "OCX",         "STREAM_AUX",
                                               "ATT40",       "RF",
                                               "CPU",         "ATT"};
    EXPECT_EQ(boardsWithoutConversion(), expected);
    for (const std::string& unit : expected) {
        std::string padded = unit;
        padded.resize(13, ' ');
        EXPECT_EQ(findBoardConversion(padded, 2), nullptr) << unit;
    }
}

}  // namespace
}  // namespace quenmap
