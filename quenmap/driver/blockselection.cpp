#include "blockselection.h"

#include <algorithm>

namespace quenmap {

namespace {

constexpr std::uint16_t kEnd = 0xFFFF;

std::vector<BoardConversion> buildConversions() {
    return {
        {{"IQOP3_LCM", "DACB",       "CODER",       "GXK_IF",   "IFBO",        "MOD",
          "DMA",       "FILT",       "FILT_2",      "HPA",      "HPA_2",       "DOUB",
          "DOUB_2",    "RFBO13",     "ATT13",       "GXN_RFBO", "DVKW_ANALOG", "DVKW_IQ",
          "STREAM",    "DVK_ANALOG", "DVK_DIGITAL", "FADER",    "IFB",         "LOSYNC",
          "FREQCNTR",  "TMO",        "RFBO",        "RFBO40",   "VECTORBOARD", "BBINR",
          "UNICOD",    "BBOUT",      "CLKSYN",      "SWI",      "RFBO20",      "LFPA",
          "BBGEN"},
         {kEnd},
         {}},
        {{"SATT3"}, {10601, 10602, 10603, 10604, 10605, kEnd}, {}},
        {{"SATT6"}, {11200, 11001, 11202, 11203, 11204, kEnd}, {}},
        {{"SATT3C", "SATT6C"}, {11300, 11301, 11302, 11303, 11305, 11307, 11306, kEnd}, {}},
        {{"SSYN"}, {10000, 10001, 10002, 10003, kEnd}, {}},
        {{"MBRD", "MWIF"}, {12001, kEnd}, {}},
        {{"BABO"}, {12001, 12000, kEnd}, {}},
        {{"IQOP3_RFM"}, {10300, 10315, 10316, 10302, kEnd}, {}, ConversionStyle::Standard, 2},
        {{"IQOP3_RFM"},
         {10300, 10301, 10302, 10303, 10304, 10305, 10306, 10307, 10308, 10309, 10310, kEnd},
         {10300, 10301, 10302, 10303, 10304, 10305, 10306, 10307, 10308, 10309, 10310, 10311, 10312,
          10313, 10314, kEnd},
         ConversionStyle::PerStateRfm,
         0},
        {{"SYNEX"}, {15000, kEnd}, {}},
        {{"FSYN"}, {15001, kEnd}, {}},
        {{"OCXO"}, {15002, kEnd}, {}},
        {{"IQOP6"}, {10900, 10901, 10902, kEnd}, {}},
        {{"CWOP3"}, {10501, 10500, kEnd}, {}},
        {{"CWOP6"}, {10501, 10500, 10502, kEnd}, {}},
        {{"DVK_BASEBOARD"}, {15605, kEnd}, {}},
        {{"DACIF"}, {12500, kEnd}, {}},
        {{"ADU"}, {15650, 15652, kEnd}, {}},
        {{"DET"}, {15020, 15021, kEnd}, {}},
        // BBINS reads END first and writes it last.
        {{"BBINS"}, {kEnd, 13101, 13100, 13103, 13102}, {13101, 13100, 13103, 13102, kEnd}},
        {{"DCON"},
         {12313, 12314, 12315, 12310, 12311, kEnd},
         {12310, 12311, 12313, 12314, 12315, kEnd}},
        {{"STEREOCODER"}, {}, {}, ConversionStyle::Stereocoder},
    };
}

// PATHx names: the letters A, B (pathCount 2) or A-D (4) at the marked place.
void addPathNames(std::vector<std::pair<std::string, std::uint16_t>>& names,
                  const std::string& prefix, const std::string& suffix, std::uint16_t baseId,
                  int pathCount) {
    for (int path = 0; path < pathCount; ++path) {
        names.emplace_back(prefix + "PATH" + static_cast<char>('A' + path) + suffix,
                           static_cast<std::uint16_t>(baseId + path));
    }
}

void addNumbered(std::vector<std::pair<std::string, std::uint16_t>>& names,
                 const std::string& prefix, std::uint16_t baseId, int count) {
    for (int n = 0; n < count; ++n) {
        names.emplace_back(prefix + std::to_string(n), static_cast<std::uint16_t>(baseId + n));
    }
}

void addEndings(std::vector<std::pair<std::string, std::uint16_t>>& names,
                const std::string& prefix, std::initializer_list<const char*> endings,
                std::initializer_list<std::uint16_t> ids) {
    auto id = ids.begin();
    for (const char* ending : endings) names.emplace_back(prefix + ending, *id++);
}

std::vector<std::pair<std::string, std::uint16_t>> buildNames() {
    std::vector<std::pair<std::string, std::uint16_t>> names = {
        {"BLOCK_IDENT", 2},
        {"BLOCK_MODIFICATION_100", 100},
        {"BLOCK_MODIFICATION", 100},
        {"BLOCK_SERVICE", 200},
    };
    for (int n = 200; n <= 209; ++n) names.emplace_back("BLOCK_SERVICE_" + std::to_string(n), 200);
    names.emplace_back("BLOCK_STATISTICS", 300);
    addEndings(names, "BLOCK_SSYN_",
               {"OCXOREFCALVALUE", "OPUDBLCOEFFICIENT", "OPULEVEL_FREQ", "OPULEVEL"},
               {10000, 10001, 10002, 10003});
    addPathNames(names, "BLOCK_MBRD_", "_EXTLEVCALIBDATAFREQ", 12050, 2);
    addPathNames(names, "BLOCK_MBRD_", "_EXTLEVCALIBDATAFREQ_ENH", 12070, 2);
    addPathNames(names, "BLOCK_MBRD_", "_EXTLEVCALIBDATA", 12060, 2);
    addPathNames(names, "BLOCK_MBRD_", "_EXTLEVCALIBDATA_ENH", 12080, 2);
    addPathNames(names, "BLOCK_MBRD_", "_EXTLEVCALIBDATAFREQ2EDITION", 12150, 2);
    addPathNames(names, "BLOCK_MBRD_", "_EXTLEVCALIBDATAFREQ2EDITION_ENH", 12090, 2);
    addPathNames(names, "BLOCK_MBRD_", "_EXTLEVCALIBDATA2EDITION", 12160, 2);
    addPathNames(names, "BLOCK_MBRD_", "_EXTLEVCALIBDATA2EDITION_ENH", 12095, 2);
    addPathNames(names, "BLOCK_", "_ATTCALIBDATAFREQ2EDITION", 12170, 4);
    addPathNames(names, "BLOCK_", "_ATTCALIBDATA2EDITION", 12180, 4);
    addPathNames(names, "BLOCK_CWOP_", "_DETLINCORRFREQ", 12290, 2);
    addPathNames(names, "BLOCK_CWOP_", "_DETLINCORRDATA", 12292, 2);
    addPathNames(names, "BLOCK_", "_CWOP3DETTUNEFREQ", 12190, 4);
    addPathNames(names, "BLOCK_", "_CWOP3DETTUNEDAC", 12200, 4);
    addEndings(names, "BLOCK_MBRD_", {"SERIAL_NUMBER", "MODEL"}, {12000, 12001});
    addEndings(names, "BLOCK_BBINS_", {"COMP_FILTER_TABS_I", "COMP_FILTER_TABS_Q"}, {13000, 13050});
    addEndings(names, "BLOCK_BBINS_UNCALIBRATED_FIR",
               {"_AMPLITUDE_I", "_PHI_I", "_AMPLITUDE_Q", "_PHI_Q"}, {13100, 13101, 13102, 13103});
    addEndings(names, "BLOCK_DACB_FREQUENCY_COMP", {"_FREQ", "_AMP", "_PH", "_DT"},
               {13500, 13600, 13700, 13800});
    addEndings(names, "BLOCK_DACB_FREQUENCY_COMP", {"_AMP_REAR", "_PH_REAR", "_DT_REAR"},
               {14400, 14500, 14600});
    addEndings(names, "BLOCK_DACB_IQ_IMBALANCE",
               {"_FREQ", "_AMP", "_PH", "_SWAP_AMP", "_SWAP_PH", "_REAR_AMP", "_REAR_PH"},
               {13900, 14000, 14100, 14200, 14300, 14700, 14800});
    addPathNames(names, "BLOCK_MBRD_", "_IQ_IMBALANCE_RF_FREQ", 12100, 4);
    addPathNames(names, "BLOCK_MBRD_", "_IQ_IMBALANCE_RF_EVEN_AMP", 12110, 4);
    addPathNames(names, "BLOCK_MBRD_", "_IQ_IMBALANCE_RF_EVEN_PH", 12120, 4);
    addPathNames(names, "BLOCK_MBRD_", "_IQ_IMBALANCE_RF_ODD_AMP", 12130, 4);
    addPathNames(names, "BLOCK_MBRD_", "_IQ_IMBALANCE_RF_ODD_PH", 12140, 4);
    addPathNames(names, "BLOCK_MBRD_", "_RF_RESPONSE_LP_PH", 12240, 4);
    addPathNames(names, "BLOCK_MBRD_", "_RF_RESPONSE_LP_AMP", 12230, 4);
    addPathNames(names, "BLOCK_MBRD_", "_RF_RESPONSE_IOPEP_INFO", 12220, 4);
    addPathNames(names, "BLOCK_MBRD_", "_RF_RESPONSE_LP_FREQ", 12210, 4);
    addPathNames(names, "BLOCK_MBRD_", "_RF_RESPONSE_ATT_AMP", 12270, 4);
    addPathNames(names, "BLOCK_MBRD_", "_RF_RESPONSE_ATT_FREQ", 12260, 4);
    addPathNames(names, "BLOCK_MBRD_", "_RF_RESPONSE_BB_FREQ", 12250, 4);
    addEndings(names, "BLOCK_SATTC_",
               {"OVLDCOUNTER", "OVLDCOUNTER_BACKUP", "HPCOUNTER", "HPCOUNTER_BACKUP"},
               {11300, 11301, 11302, 11303});
    addEndings(names, "BLOCK_", {"DACIF_FULLSCALE", "SYNEX_OCXOREFCALVALUE"}, {12500, 15000});
    addEndings(names, "BLOCK_IQOP3_RFM_", {"HARMONIC", "CALIB_DATA_MISC_V20", "CALIB_DATA_V20"},
               {10300, 10315, 10316});
    addEndings(names, "BLOCK_", {"CWOP3_6_AM_GAIN_DATA", "CWOP3_6_AM_GAIN_FREQ", "CWOP6_VCO_IDENT"},
               {10501, 10500, 10502});
    addEndings(names, "BLOCK_DVK_ANALOG_IMBALANCE",
               {"_FREQ", "_GAIN_I", "_PH_I", "_GAIN_Q", "_PH_Q"},
               {15600, 15601, 15603, 15602, 15604});
    addEndings(names, "BLOCK_", {"DVK_BASEBOARD_CALIB_VALUE"}, {15605});
    addEndings(names, "BLOCK_ADU_", {"LEV_COARSE_CALIBDATA", "OFFSET_CALIBDATA"}, {15650, 15652});
    addEndings(names, "BLOCK_", {"DPH_MBRD_PLL_DAC_VALUE"}, {12280});
    addEndings(names, "BLOCK_", {"FSYN_TCXOREFCALVALUE", "OCXO_OCXOREFCALVALUE"}, {15001, 15002});
    addEndings(names, "BLOCK_DET_", {"LIMITER_MAX_VOLT_FREQ", "LIMITER_MAX_VOLT_DATA"},
               {15020, 15021});
    addEndings(names, "BLOCK_GXP_",
               {"EXTLEVCALIBDATAFREQ", "EXTLEVCALIBDATA", "EXTLEVCALIBDATA_ABSOLCORR",
                "EXTLEVCALIBDATA_RELCORR"},
               {12040, 12041, 12042, 12043});
    addEndings(
        names, "BLOCK_GXP_",
        {"ATTLEVCALIBDATAFREQ", "ATTLEVCALIBDATA", "ATTLEVCALIBDATAFREQ_SE", "ATTLEVCALIBDATA_SE"},
        {12044, 12045, 12046, 12047});
    addEndings(names, "BLOCK_GXP_",
               {"EXTLOOPGAINCALIBDATAFREQ", "EXTLOOPGAINPK", "EXTLOOPGAINP_VALUEBASEPK",
                "EXTLOOPGAINI_VALUEBASEPK", "EXTLOOPGAINI_VALUEOFFSETPK"},
               {12300, 12301, 12302, 12303, 12304});
    addEndings(names, "BLOCK_GXP_",
               {"EXTLOOPGAINPK_LIST", "EXTLOOPGAINP_VALUEBASEPK_LIST",
                "EXTLOOPGAINI_VALUEBASEPK_LIST", "EXTLOOPGAINI_VALUEOFFSETPK_LIST"},
               {12305, 12306, 12307, 12308});
    addEndings(names, "BLOCK_",
               {"GXK_FREQCNTR_TCXOREFCALVALUE", "GXP_DCON_VTRIM", "GXP_DCON_LEVELPRE2"},
               {12312, 12310, 12311});
    addEndings(names, "BLOCK_GXP_DCON_LIMITER_MAX_VOLT", {"_FREQ", "_DATA", "_DATA_PUM_ON"},
               {12313, 12314, 12315});
    addEndings(names, "BLOCK_", {"GXP_MWIF_SATT_COUNTER", "STEROCODER_CO"}, {11304, 15690});
    addEndings(names, "BLOCK_GXL_RFBO",
               {"_EXTIN_GAIN",       "_EXTIN_OFFSET",     "_DET_TUNE_FREQ",    "_DET_TUNE_DATA",
                "_TCXO_CAL",         "_RFLEVEL_MAX_FREQ", "_RFLEVEL_MAX_DATA", "_ATT_CAL_FREQ",
                "_ATT_CAL_DATA",     "_EXT_CAL_FREQ",     "_EXT_CAL_DATA",     "_ALC_FREQ",
                "_ALC_DATA",         "_TEMP_FREQ",        "_TEMP_GRADIENT",    "_TEMP_OFFSET",
                "_ATTREG_DATA",      "_SH_FREQ",          "_SH_DATA",          "_EXT_CAL_USER_FREQ",
                "_EXT_CAL_USER_DATA"},
               {15700, 15701, 15705, 15706, 15710, 15715, 15716, 15720, 15721, 15725, 15726,
                15730, 15731, 15735, 15740, 15745, 15750, 15755, 15756, 16000, 16001});
    addEndings(names, "BLOCK_GXN_RFBO",
               {"_ATT_CAL_FREQ", "_ATT_CAL_DATA", "_TEMP_COMP_FREQ", "_TEMP_COMP_DATA",
                "_ATT_REG_ATTENUATION", "_ATT_REG_DATA"},
               {15760, 15761, 15770, 15771, 15798, 15799});
    addEndings(names, "BLOCK_SATTC_", {"TEMP_FREQ", "TEMP_GRADIENT", "TEMP_OFFSET"},
               {11305, 11306, 11307});
    addEndings(names, "BLOCK_GXP_", {"TEMPERATURE", "TEMPCORR_LEVEL"}, {15022, 15023});
    addEndings(names, "BLOCK_DET_",
               {"DIFF_TEMPERATURE", "TEMPCORR_LOW_FREQ", "TEMPCORR_HIGH_FREQ",
                "TEMPCORR_MIN_FREQ_VALUES", "TEMPCORR_MAX_FREQ_VALUES"},
               {15024, 15025, 15026, 15027, 15028});
    addPathNames(names, "BLOCK_MBRD_", "_IQ_INPUT", 14801, 2);
    addEndings(names, "BLOCK_GXLW_RFBO_", {"RFLEVEL_MAX_VEC_FREQ", "RFLEVEL_MAX_VEC_DATA"},
               {15844, 15845});
    addEndings(names, "BLOCK_GXLW_VECTOR",
               {"_ALC_FREQ", "_ALC_DATA", "_ALC_IQNORM_FREQ", "_ALC_IQNORM_DATA",
                "_ALC_IQWIDE_FREQ", "_ALC_IQWIDE_DATA"},
               {15810, 15811, 15820, 15821, 15830, 15831});
    addEndings(names, "BLOCK_GXLW_VECTOR_LEVCON_TEMP", {"", "_FREQ", "_LEVCON"},
               {15850, 15851, 15852});
    addNumbered(names, "BLOCK_GXLW_VECTOR_LEVCON_TEMP_DATA_", 15853, 10);
    addEndings(names, "BLOCK_GXLW_RFBO",
               {"_EXT_CAL_VEC_FREQ", "_EXT_CAL_VEC_DATA", "_ATT_CAL_VEC_FREQ", "_ATT_CAL_VEC_DATA"},
               {15840, 15841, 15842, 15843});
    addEndings(names, "BLOCK_STREAM_", {"OPT_IDENT", "AUX_IDENT"}, {10503, 10504});
    addPathNames(names, "BLOCK_MBRD_", "_EXT_CAL_USER_FREQ", 14803, 2);
    addPathNames(names, "BLOCK_MBRD_", "_EXT_CAL_USER_DATA", 14805, 2);
    addNumbered(names, "BLOCK_DVK_WIQ_RFIMBALANCE_DATA_", 15606, 14);
    addNumbered(names, "BLOCK_DVK_WIQ_SENSOR0_DATA_", 15620, 14);
    addNumbered(names, "BLOCK_DVK_WIQ_SENSOR1_DATA_", 15634, 14);
    return names;
}

struct IdRange {
    std::uint16_t first;
    std::uint16_t last;
};

// The ids the binary dispatch knows; of the PATH families only paths A and B.
const IdRange kDispatchRanges[] = {
    {2, 2},         {10, 10},       {100, 100},     {200, 209},     {300, 300},     {10000, 10003},
    {10300, 10316}, {10500, 10504}, {10601, 10605}, {10900, 10902}, {11001, 11001}, {11200, 11200},
    {11202, 11204}, {11300, 11307}, {12000, 12001}, {12040, 12047}, {12050, 12051}, {12060, 12061},
    {12070, 12071}, {12080, 12081}, {12090, 12091}, {12095, 12096}, {12100, 12101}, {12110, 12111},
    {12120, 12121}, {12130, 12131}, {12140, 12141}, {12150, 12151}, {12160, 12161}, {12170, 12171},
    {12180, 12181}, {12190, 12191}, {12200, 12201}, {12210, 12211}, {12220, 12221}, {12230, 12231},
    {12240, 12241}, {12250, 12251}, {12260, 12261}, {12270, 12271}, {12280, 12280}, {12290, 12293},
    {12300, 12308}, {12310, 12315}, {12500, 12500}, {13000, 13000}, {13050, 13050}, {13100, 13103},
    {13500, 13500}, {13600, 13600}, {13700, 13700}, {13800, 13800}, {13900, 13900}, {14000, 14000},
    {14100, 14100}, {14200, 14200}, {14300, 14300}, {14400, 14400}, {14500, 14500}, {14600, 14600},
    {14700, 14700}, {14800, 14806}, {15000, 15002}, {15020, 15028}, {15600, 15647}, {15650, 15650},
    {15652, 15652}, {15690, 15690}, {15700, 15701}, {15705, 15706}, {15710, 15710}, {15715, 15716},
    {15720, 15721}, {15725, 15726}, {15730, 15731}, {15735, 15735}, {15740, 15740}, {15745, 15745},
    {15750, 15750}, {15755, 15756}, {15760, 15761}, {15770, 15771}, {15798, 15799}, {15810, 15811},
    {15820, 15821}, {15830, 15831}, {15840, 15845}, {15850, 15862}, {16000, 16001},
};

}  // namespace

const std::vector<BoardConversion>& boardConversions() {
    static const std::vector<BoardConversion> conversions = buildConversions();
    return conversions;
}

const BoardConversion* findBoardConversion(const std::string& paddedUnitName, int dataVersion) {
    for (const BoardConversion& conversion : boardConversions()) {
        if (dataVersion < conversion.minimumDataVersion) continue;
        for (const std::string& unit : conversion.unitNames) {
            std::string padded = unit;
            padded.resize(13, ' ');
            if (padded == paddedUnitName) return &conversion;
        }
    }
    return nullptr;
}

const std::vector<std::string>& boardsWithoutConversion() {
    static const std::vector<std::string> boards = {"SATT6M",      "LOWPHASENOISE",
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
    return boards;
}

const std::vector<std::pair<std::string, std::uint16_t>>& blockNames() {
    static const std::vector<std::pair<std::string, std::uint16_t>> names = buildNames();
    return names;
}

std::optional<std::uint16_t> blockIdForName(const std::string& name) {
    for (const auto& entry : blockNames()) {
        if (entry.first == name) return entry.second;
    }
    return std::nullopt;
}

bool isDispatchId(std::uint16_t id) {
    for (const IdRange& range : kDispatchRanges) {
        if (id >= range.first && id <= range.last) return true;
    }
    return false;
}

std::vector<std::uint16_t> dispatchIds() {
    std::vector<std::uint16_t> ids;
    for (const IdRange& range : kDispatchRanges) {
        for (std::uint32_t id = range.first; id <= range.last; ++id) {
            ids.push_back(static_cast<std::uint16_t>(id));
        }
    }
    return ids;
}

}  // namespace quenmap
