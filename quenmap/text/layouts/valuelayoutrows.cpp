// The layout rows of records, single values, lists and companion lists. The
// German comment lines are Latin-1: every umlaut is one escaped byte, and the
// literal is split after it so that no following letter joins the escape.

#include "valuelayout.h"

namespace quenmap {

namespace {

constexpr Search F = Search::Forward;
constexpr Search R = Search::Rewind;

#define QM_ROWS(array) \
    { array, sizeof(array) / sizeof(array[0]) }

// ---- Kind 1: records --------------------------------------------------------

const RecordField kVcoIdentFields[] = {
    {"JOBNR:", 8, Element::U32, 0, true},      {"SERNR:", 12, Element::U16, 0, true},
    {"LOTNR:", 14, Element::U16, 0, true},     {"TAZ:", 16, Element::U16, 0, true},
    {"OSC3SUB_H:", 18, Element::U16, 0, true}, {"OSC3SUB_L:", 20, Element::U16, 0, true},
    {"OSC2SUB_H:", 22, Element::U16, 0, true}, {"OSC2SUB_L:", 24, Element::U16, 0, true},
    {"OSC1SUB_H:", 26, Element::U16, 0, true},
};
const RecordField kModelFields[] = {{"MODEL:", 8, Element::Word, 32, true}};
const RecordField kSerialNumberFields[] = {{"SN:", 8, Element::U32, 0, true}};
const RecordField kFullScaleFields[] = {{"FullscaleValue:", 8, Element::U32, 0, true}};
const RecordField kCounterFields[] = {{"COUNT_VALUE:", 8, Element::U32, 0, true}};
const RecordField kTwoCounterFields[] = {{"COUNT_VALUE:", 8, Element::U32, 0, true},
                                         {"COUNT_VALUE:", 12, Element::U32, 0, true}};
// The six corner frequencies are taken by position, each after its ':'.
const RecordField kHarmonicFields[] = {
    {"HARM_FILT1:", 8, Element::U32, 0, false},  {"HARM_FILT2:", 12, Element::U32, 0, false},
    {"HARM_FILT3:", 16, Element::U32, 0, false}, {"HARM_FILT4:", 20, Element::U32, 0, false},
    {"HARM_FILT5:", 24, Element::U32, 0, false}, {"HARM_FILT6:", 28, Element::U32, 0, false},
};
// Groups: the first key of a group is searched, the others follow by position.
const RecordField kMiscV20Fields[] = {
    {"LMAX_LOW:", 8, Element::F32, 0, true},
    {"LMAX_MED:", 12, Element::F32, 0, false},
    {"LMAX_HIGH:", 16, Element::F32, 0, false},
    {"LMAX_OVR:", 20, Element::F32, 0, false},
    {"LCAL_SENS_LOW:", 24, Element::F32, 0, true},
    {"LCAL_SENS_MED:", 28, Element::F32, 0, false},
    {"LCAL_SENS_HIGH:", 32, Element::F32, 0, false},
    {"LCAL_SENS_OVR:", 36, Element::F32, 0, false},
    {"VCAL_SENS_LOW:", 40, Element::F32, 0, true},
    {"VCAL_SENS_MED:", 44, Element::F32, 0, false},
    {"VCAL_SENS_HIGH:", 48, Element::F32, 0, false},
    {"VCAL_SENS_OVR:", 52, Element::F32, 0, false},
    {"LRANGE_CW_NORM:", 56, Element::F32, 0, true},
    {"LRANGE_CW_OVR:", 60, Element::F32, 0, false},
    {"LRANGE_IQ_NORM:", 64, Element::F32, 0, false},
    {"LRANGE_IQ_OVR:", 68, Element::F32, 0, false},
    {"UIQ:", 72, Element::F32, 0, true},
    {"LCON_RESERVE_CW_NORM:", 76, Element::F32, 0, true},
    {"LCON_RESERVE_CW_OVR:", 80, Element::F32, 0, false},
    {"LCON_RESERVE_IQ_NORM:", 84, Element::F32, 0, false},
    {"LCON_RESERVE_IQ_OVR:", 88, Element::F32, 0, false},
    {"LPRE_CAL_LEV_CW_NORM:", 92, Element::F32, 0, true},
    {"LPRE_CAL_LEV_CW_OVR:", 96, Element::F32, 0, false},
    {"LPRE_CAL_LEV_IQ_NORM:", 100, Element::F32, 0, false},
    {"LPRE_CAL_LEV_IQ_OVR:", 104, Element::F32, 0, false},
    {"DETATT_LOW:", 108, Element::I16, 0, true},
    {"DETATT_MED:", 110, Element::I16, 0, false},
    {"DETATT_HIGH:", 112, Element::I16, 0, false},
    {"DETATT_OVR:", 114, Element::I16, 0, false},
};

const char kHarmonicComments[] =
    "# ausgewertete Syntaxelemente :\n"
    "#  #       als Kommentarzeile\n"
    "#       Kommentare d\xFC"
    "rfen NICHT innerhalb eines Datenblocks eingef\xFC"
    "gt werden\n"
    "# Schl\xFC"
    "sselworte:   zur Zuordnung der gelesenen Werte (Auswertung erfolgt in "
    "Gro\xDF"
    "buchstaben)\n"
    "#       Werte sind in aufsteigender Reihenfolge anzugeben\n"
    "# ][      als Trennzeichen f\xFC"
    "r BZ\n"
    "#       Bei Erweiterung der Tabelle zu LEV_PRE_TAB sind die Werte\n"
    "#       anschlie\xDF"
    "end an den Wert zur Detektorspannung zu integrieren\n"
    "# \\t      als Trennzeichen zwischen den einzelnen Werten\n"
    "# Baugruppen Kalibrierparameter\n"
    "# Oberwellenfilter Grenzfrequenzen (Hz)\n";

#define QM_FIELDS(array) array, sizeof(array) / sizeof(array[0])

const RecordLayout kRecords[] = {
    {10502, "VCO_IDENT", 28, F, "# Das sind die VCO Ident Daten\n", QM_FIELDS(kVcoIdentFields), 17,
     0, nullptr},
    {12001, "GENERATOR_MODEL", 40, F, "# Das ist der Modellname des GXR`s\n",
     QM_FIELDS(kModelFields), 17, 0, nullptr},
    {12000, "SERIAL_NUMBER", 12, F, "# Das ist die Seriennummer des GXx`s\n",
     QM_FIELDS(kSerialNumberFields), 17, 0, nullptr},
    {12500, "DACIF_FULLSCALEVALUE", 12, F, "# Das ist der FullScaleValue\n",
     QM_FIELDS(kFullScaleFields), 17, 0, nullptr},
    {10604, "SATT3_OWLD_COUNTER_1", 12, F,
     "#Das ist der OWLD-Z\xE4"
     "hler\n",
     QM_FIELDS(kCounterFields), 17, 10605, "SATT3_OWLD_COUNTER_2"},
    {10605, "SATT3_OWLD_COUNTER_2", 12, F,
     "#Das ist der zweite OWLD-Z\xE4"
     "hler\n",
     QM_FIELDS(kCounterFields), 17, 10604, "SATT3_OWLD_COUNTER_1"},
    {11203, "SATT6_OWLD_COUNTER_1", 12, F,
     "# Das ist der OWLD-Z\xE4"
     "hler_1\n",
     QM_FIELDS(kCounterFields), 17, 11204, "SATT6_OWLD_COUNTER_2"},
    {11204, "SATT6_OWLD_COUNTER_2", 12, F,
     "# Das ist der OWLD-Z\xE4"
     "hler_2\n",
     QM_FIELDS(kCounterFields), 17, 11203, "SATT6_OWLD_COUNTER_1"},
    {11300, "SATTC_OVLDCOUNTER", 16, F,
     "#Das ist der OVLD-Z\xE4"
     "hler\n",
     QM_FIELDS(kTwoCounterFields), 17, 0, nullptr},
    {11301, "SATTC_OVLDCOUNTER_BACKUP", 16, F,
     "#Das ist der backup OVLD-Z\xE4"
     "hler\n",
     QM_FIELDS(kTwoCounterFields), 17, 0, nullptr},
    {11302, "SATTC_HPCOUNTER", 16, F,
     "#Das ist der HP-Z\xE4"
     "hler\n",
     QM_FIELDS(kTwoCounterFields), 17, 0, nullptr},
    {11303, "SATTC_HPCOUNTER_BACKUP", 16, F,
     "#Das ist der backup HP-Z\xE4"
     "hler\n",
     QM_FIELDS(kTwoCounterFields), 17, 0, nullptr},
    {10300, "IQOP3_RFM_HARMONIC", 32, F, kHarmonicComments, QM_FIELDS(kHarmonicFields), 17, 0,
     nullptr},
    {10315, "IQOP3_RFM_CALIB_DATA_MISC_V20", 116, F,
     "# Das sind die Kalibrierdaten IQOP3 RFM MISC Version 2.0\n", QM_FIELDS(kMiscV20Fields), 23, 0,
     nullptr},
};

// ---- Kind 2: single values ----------------------------------------------------

#define QM_AT_MOST_ONE \
    "# Maximal m\xF6"  \
    "gliche Koefizienten sind mit dieser ID 1\n"

const SingleValueLayout kSingleValues[] = {
    {10000, "SSYN_OCXO_REF_CAL_VALUE", 1,
     "# Das sind die Ssyn_Ocxo Kalibrierwerte\n" QM_AT_MOST_ONE},
    {15000, "SYNEX_OCXO_REF_CAL_VALUE", 1,
     "# Das sind die Synex_Ocxo Kalibrierwerte\n" QM_AT_MOST_ONE},
    {15001, "FSYN_TCXO_REF_CAL_VALUE", 1,
     "# Das sind die Fsyn_Ocxo Kalibrierwerte\n" QM_AT_MOST_ONE},
    {15002, "GXP_OCXO_REF_CAL_VALUE", 1,
     "#Kalibrierwert f\xFC"
     "r den Feinabgleich der OCXO-Frequenz\n"
     "# Wertebereich: 0...65535\n" QM_AT_MOST_ONE},
    {15605, "DVK_BASEBOARD_CALIB_VALUE", 4, "# Das ist  der Baseboard Kalibrierwert\n"},
    {12280, "DPH_MBRD_PLL_DAC_VALUE", 4,
     "# Einstellwert fuer den PLL-DAC bewirkt genaue Einstellung der Referenzfrequenz\n"
     "# Wertebereich: 0..3FFh (0..1023) entspricht Frequenz 10MHz +/-150Hz\n"},
};

// ---- Kind 3: lists -------------------------------------------------------------

#define QM_SUPPORT   \
    "Frequenzst\xFC" \
    "tzstellen"
#define QM_PLAIN(prefix, suffix) \
    Naming {                     \
        prefix, suffix           \
    }
#define QM_NAME(name) \
    Naming {          \
        name, nullptr \
    }

constexpr ListShape L = ListShape::Lines;
#define QM_EXACT \
    { nullptr, nullptr, nullptr }
#define QM_FMT(f) \
    { f, nullptr, nullptr }

#define QM_FIR_TAIL                                   \
    "# Format: signed integer (32 Bit-Darstellung)\n" \
    "# Maximal m\xF6"                                 \
    "gliche Koefizienten mit dieser ID 50\n"

// clang-format off
const ListLayout kLists[] = {
    // id, instances, name, size, search, ID: first, empty when missing, count key, count bytes, limit,
    // element, scale, capacity, element offset, shape, first number, formats, comments
    {10001, 1, QM_NAME("SSYN_OPU_DBL_COEFFICIENT"), 36, F, false, false, "COUNT:", 1, 3,
     Element::F64, Scale::AsRead, 3, 12, L, 1, {"%.0f", "%.3f", "%.6f"},
     "# Das sind die " QM_SUPPORT " f\xFC" "r Ssyn_Opu_Dbl_Coefficient\n"
     "# Maximal m\xF6" "gliche Koeffizienten sind mit dieser ID 3\n"},
    {10002, 1, QM_NAME("SSYN_OPU_LEVEL_FREQ"), 412, F, false, false, "COUNT:", 1, 50,
     Element::F64, Scale::AsRead, 50, 12, L, 1, QM_EXACT,
     "# Das sind die " QM_SUPPORT " f\xFC" "r Ssyn_Opu_Dbl_Coefficient\n"
     "# Maximal m\xF6" "gliche " QM_SUPPORT " sind mit dieser ID 50\n"},
    {10003, 1, QM_NAME("SSYN_OPU_LEVEL"), 212, F, false, false, "COUNT:", 1, 50,
     Element::U32, Scale::AsRead, 50, 12, L, 1, QM_EXACT,
     "# Das sind die Ssyn_Opu_Dbl_Coefficient in [mV]\n"
     "# Maximal m\xF6" "gliche Koefizienten sind mit dieser ID 50\n"},
    {10302, 1, QM_NAME("IQOP3_RFM_CALIB_DATA_FREQ"), 1212, R, false, false, "COUNT:", 4, 300,
     Element::U32, Scale::Hz10, 300, 12, ListShape::ZeileLines, 1, QM_FMT("%.2f"),
     "# Kalibrierfrequenzen Maximale Anzahl mit dieser Id ist 300\n"},
    {10500, 1, QM_NAME("CWOP3_6_AM_GAIN_FREQ"), 1612, R, false, false, "COUNT:", 4, 200,
     Element::F64, Scale::AsRead, 200, 12, L, 1, QM_EXACT,
     "#" QM_SUPPORT ", maximale Anzahl mit dieser Id ist 200\n"},
    {10601, 1, QM_NAME("SATT3_CALIB_FREQ"), 612, F, false, false, "COUNT:", 4, 150,
     Element::U32, Scale::Hz10, 150, 12, L, 1, QM_FMT("%.2f"), "#Das sind die " QM_SUPPORT "\n"},
    {11200, 1, QM_NAME("SATT6_CALIB_FREQ"), 612, F, false, false, "COUNT:", 4, 150,
     Element::U32, Scale::Hz10, 150, 12, L, 1, QM_FMT("%.2f"), "#Das sind die " QM_SUPPORT "\n"},
    {10900, 1, QM_NAME("IQOP6_PMAX_BZ"), 44, F, false, false, "COUNT_BZ:", 2, 32,
     Element::U8, Scale::AsRead, 32, 12, L, 1, QM_EXACT,
     "# DETATT-Kalibriertabelle: DETATT, Bezugspegel f\xFC" "r DAWERT (bzw. Maxpegel) f\xFC"
     "r diesen BZ(detatt):\n"},
    {10901, 1, QM_NAME("IQOP6_CALIB_DATA_FREQ"), 152, F, false, false, "COUNT:", 2, 70,
     Element::U16, Scale::MHz, 70, 12, L, 0, QM_FMT("%.1f"), "#Das sind die " QM_SUPPORT "\n"},
    {12190, 4, QM_PLAIN("CWOP3_DET_TUNE_", "_FREQ"), 812, R, false, false, "COUNT:", 4, 100,
     Element::F64, Scale::AsRead, 100, 12, L, 1, QM_EXACT, "#Das sind die " QM_SUPPORT "\n"},
    {12290, 2, QM_PLAIN("CWOP_DETLINCORR_", "_FREQ"), 412, R, false, false, "COUNT:", 4, 50,
     Element::F64, Scale::AsRead, 50, 12, L, 1, QM_EXACT,
     "#" QM_SUPPORT " Maximale Anzahl mit dieser Id ist 200\n"},
    {12050, 4, QM_PLAIN("EXT_CAL_DAT_", "_FREQ"), 1052, R, true, true, "COUNT:", 4, 260,
     Element::U32, Scale::Hz10, 260, 12, L, 1, QM_FMT("%.2f"), "# Das sind die " QM_SUPPORT "\n"},
    {12150, 4, QM_PLAIN("EXT_CAL_DAT_", "_FREQ_2_EDITION"), 1052, R, true, true, "COUNT:", 4, 260,
     Element::U32, Scale::Hz10, 260, 12, L, 1, QM_FMT("%.2f"), "# Das sind die " QM_SUPPORT "\n"},
    {12070, 2, QM_PLAIN("EXT_CAL_DAT_", "_FREQ_ENH"), 2012, R, true, true, "COUNT:", 4, 500,
     Element::U32, Scale::Hz10, 500, 12, L, 1, QM_FMT("%.2f"), "# Das sind die " QM_SUPPORT "\n"},
    {12090, 2, QM_PLAIN("EXT_CAL_DAT_", "_FREQ_2_EDITION_ENH"), 2012, R, true, true, "COUNT:", 4,
     500, Element::U32, Scale::Hz10, 500, 12, L, 1, QM_FMT("%.2f"),
     "# Das sind die " QM_SUPPORT "\n"},
    {12170, 4, QM_PLAIN("ATT_CAL_DAT_", "_FREQ_2_EDITION"), 612, R, false, false, "COUNT:", 4, 150,
     Element::U32, Scale::Hz10, 150, 12, L, 1, QM_FMT("%.2f"), "#Das sind die " QM_SUPPORT "\n"},
    {12100, 4, QM_PLAIN("PATH_", "_IQ_IMBALANCE_RF_FREQ"), 2412, R, false, false, "COUNT:", 4, 600,
     Element::U32, Scale::AsRead, 600, 12, L, 1, QM_EXACT,
     "#Das sind die " QM_SUPPORT " [f/1MHz] \n"},
    {12210, 4, QM_PLAIN("PATH_", "_RF_RESPONSE_LP_FREQ"), 5444, R, false, false, "COUNT:", 4, 150,
     Element::U32, Scale::AsRead, 150, 44, ListShape::NineLowpasses, 1, QM_EXACT,
     "#Das sind die " QM_SUPPORT " f\xFC" "r die Tiefp\xE4" "sse\n"},
    {12220, 4, QM_PLAIN("PATH_", "_RF_RESPONSE_IOPEP_INFO"), 92, R, false, false, "COUNT:", 4, 20,
     Element::U32, Scale::AsRead, 20, 12, L, 1, QM_EXACT,
     "#Info f\xFC" "r Kalibrierpegel (IOPEP Anzahl und Werte, max. IQPEP der Betriebszust\xE4"
     "nde Anzahl und Werte, dazugeh\xF6" "riges BBGAIN), dB*100\n"},
    {12250, 4, QM_PLAIN("PATH_", "_RF_RESPONSE_BB_FREQ"), 412, R, false, false, "COUNT:", 4, 100,
     Element::U32, Scale::AsRead, 100, 12, L, 1, QM_EXACT,
     "#Das sind die " QM_SUPPORT " des Basisbandes [kHz]\n"},
    {12260, 4, QM_PLAIN("PATH_", "_RF_RESPONSE_ATT_FREQ"), 812, R, false, false, "COUNT:", 4, 200,
     Element::U32, Scale::AsRead, 200, 12, L, 1, QM_EXACT,
     "#Das sind die " QM_SUPPORT " der RF [MHz]\n"},
    {13000, 1, QM_NAME("BBINS_COMP_FIL_TAPS_I"), 92, R, false, false, "COUNT:", 4, 20,
     Element::I32, Scale::AsRead, 20, 12, L, 1, QM_EXACT,
     "# Das sind die Entzerr-Koeffizienten f\xFC" "r Resample I-Pfad\n" "# signed fixed point LSB value 21-24\n"
     "# Maximal m\xF6" "gliche Koefizienten sind mit dieser ID 20\n"},
    {13050, 1, QM_NAME("BBINS_COMP_FIL_TAPS_Q"), 92, R, false, false, "COUNT:", 4, 20,
     Element::I32, Scale::AsRead, 20, 12, L, 1, QM_EXACT,
     "# Das sind die Entzerr-Koeffizienten f\xFC" "r Resample Q-Pfad\n" "# signed fixed point LSB value 21-24\n"
     "# Maximal m\xF6" "gliche Koefizienten sind mit dieser ID 20\n"},
    {13100, 1, QM_NAME("BBINS_UNCALIBRATED_FIR_AMPLITUDE_I"), 212, R, false, false, "COUNT:", 4, 50,
     Element::I32, Scale::AsRead, 50, 12, L, 1, QM_EXACT,
     "# unkalibrierter BBIN-Amplitudengang fuer I-Pfad\n" QM_FIR_TAIL},
    {13101, 1, QM_NAME("BBINS_UNCALIBRATED_FIR_PHI_I"), 212, R, false, false, "COUNT:", 4, 50,
     Element::I32, Scale::AsRead, 50, 12, L, 1, QM_EXACT,
     "# unkalibrierter BBIN-Phasengang fuer I-Pfad\n" QM_FIR_TAIL},
    {13102, 1, QM_NAME("BBINS_UNCALIBRATED_FIR_AMPLITUDE_Q"), 212, R, false, false, "COUNT:", 4, 50,
     Element::I32, Scale::AsRead, 50, 12, L, 1, QM_EXACT,
     "# unkalibrierter BBIN-Amplitudengang fuer Q-Pfad\n" QM_FIR_TAIL},
    {13103, 1, QM_NAME("BBINS_UNCALIBRATED_FIR_PHI_Q"), 212, R, false, false, "COUNT:", 4, 50,
     Element::I32, Scale::AsRead, 50, 12, L, 1, QM_EXACT,
     "# unkalibrierter BBIN-Phasengang fuer Q-Pfad\n" QM_FIR_TAIL},
    {13500, 1, QM_NAME("DACB_FREQUENCY_COMP_FREQ"), 116, R, false, false, "COUNT:", 4, 26,
     Element::U32, Scale::AsRead, 26, 12, L, 1, QM_EXACT, "#Das sind die " QM_SUPPORT " [f/1Hz]\n"},
    {13800, 1, QM_NAME("DACB_FREQUENCY_COMP_DT"), 16, R, false, false, "COUNT:", 4, 2,
     Element::I16, Scale::AsRead, 2, 12, L, 1, QM_EXACT, "#Das ist der dt-Wert [1/1e12]\n"},
    {14600, 1, QM_NAME("DACB_FREQUENCY_COMP_DT_REAR"), 16, R, false, false, "COUNT:", 4, 2,
     Element::I16, Scale::AsRead, 2, 12, L, 1, QM_EXACT, "#Das ist der dt-Wert [1/1e12]\n"},
    {13900, 1, QM_NAME("DACB_IQ_IMBALANCE_FREQ"), 116, R, false, false, "COUNT:", 4, 26,
     Element::U32, Scale::AsRead, 26, 12, L, 1, QM_EXACT, "#Das sind die " QM_SUPPORT " [f/1Hz]\n"},
    {15600, 1, QM_NAME("DVK_ANALOG_IMBALANCE_FREQ"), 252, R, false, false, "COUNT:", 4, 30,
     Element::F64, Scale::AsRead, 30, 12, L, 1, QM_EXACT, "#Das sind die " QM_SUPPORT " [f/1Hz]\n"},
    {15650, 1, QM_NAME("ADU_LEV_COARSE_CAL_VALUE"), 108, R, false, false, "COUNT:", 4, 12,
     Element::F64, Scale::AsRead, 12, 12, L, 1, QM_EXACT,
     "# Alle Kalibrierwerte der Grobabschwaecherstufen\n"
     "# Es werden alle gemessenen oder berechneten Werte gespeichert , k0 = k_16dB_Att\n"
     "# Festlegung, ob Werte kx gemessen oder berechnet werden , erfolgt \xFC" "ber Pr\xFC"
     "fanweisung\n"},
    {15020, 1, QM_NAME("LIMITER_FREQUENCY_NODE_GHZ"), 812, R, false, false, "COUNT:", 4, 100,
     Element::F64, Scale::AsRead, 100, 12, L, 1, QM_EXACT,
     "# Limiter:  Hier stehen die St\xFC" "tzstellen f\xFC" "r die Frequenzwerte\n"
     "#           Wertebereich: 1...22GHz\n"
     "#           Maximal m\xF6" "gliche St\xFC" "tzstellen: 100\n"},
    {12040, 1, QM_NAME("LEV_CAL_DAT_FREQ"), 6012, R, false, false, "COUNT:", 4, 1500,
     Element::U32, Scale::Hz100, 1500, 12, L, 1, QM_FMT("%.3f"), "# " QM_SUPPORT " [Hz]\n"},
    {12044, 1, QM_NAME("ATT_CAL_DAT_FREQ"), 812, R, false, false, "COUNT:", 4, 200,
     Element::U32, Scale::Hz100, 200, 12, L, 1, QM_FMT("%.3f"), "# " QM_SUPPORT " [Hz]\n"},
    {12046, 1, QM_NAME("ATT_CAL_DAT_FREQ_SE"), 2012, R, false, false, "COUNT:", 4, 500,
     Element::U32, Scale::Hz100, 500, 12, L, 1, QM_FMT("%.3f"), "# " QM_SUPPORT " [Hz]\n"},
    {12042, 1, QM_NAME("LEV_CAL_DAT_ABS_CORR"), 3012, R, false, true, "COUNT:", 4, 1500,
     Element::I16, Scale::AsRead, 1500, 12, ListShape::OneLine, 1, QM_EXACT,
     "# Externe Kalibrierdaten [1/100dBm]\n"},
};

// ---- Kind 4: companion lists -------------------------------------------------------

#define QM_IQ_RF(suffix) QM_PLAIN("PATH_", suffix), QM_PLAIN("PATH_", "_IQ_IMBALANCE_RF_FREQ")
#define QM_COMP_FREQ QM_NAME("DACB_FREQUENCY_COMP_FREQ")
#define QM_IMB_FREQ QM_NAME("DACB_IQ_IMBALANCE_FREQ")
#define QM_DVK QM_NAME("DVK_ANALOG_IMBALANCE_DATA"), QM_NAME("DVK_ANALOG_IMBALANCE_FREQ")

const CompanionLayout kCompanions[] = {
    // id, instances, name, companion, size, count bytes, limit, element, scale, capacity, column, comments
    {12110, 4, QM_IQ_RF("_IQ_IMBALANCE_RF_EVEN_AMP"), 1212, 4, 600, Element::I16, Scale::ClampedI16, 600, 0,
     "#Das sind die geraden Amplitudewerte [1/10000] \n"},
    {12120, 4, QM_IQ_RF("_IQ_IMBALANCE_RF_EVEN_PH"), 1212, 4, 600, Element::I16, Scale::ClampedI16, 600, 0,
     "#Das sind die geraden Phasenwerte [1/100] \n"},
    {12130, 4, QM_IQ_RF("_IQ_IMBALANCE_RF_ODD_AMP"), 1212, 4, 600, Element::I16, Scale::ClampedI16, 600, 0,
     "#Das sind die ungeraden Amplitudewerte [1/10000] \n"},
    {12140, 4, QM_IQ_RF("_IQ_IMBALANCE_RF_ODD_PH"), 1212, 4, 600, Element::I16, Scale::ClampedI16, 600, 0,
     "#Das sind die ungeraden Phasenwerte [1/100]\n"},
    {13600, 1, QM_NAME("DACB_FREQUENCY_COMP_AMP"), QM_COMP_FREQ, 64, 4, 26, Element::I16, Scale::AsRead, 26, 0,
     "#Das sind die Amplitudenwerte [1/10 000]\n"},
    {13700, 1, QM_NAME("DACB_FREQUENCY_COMP_PH"), QM_COMP_FREQ, 64, 4, 26, Element::I16, Scale::AsRead, 26, 0,
     "#Das sind die Phasenwerte  [1/100]\n"},
    {14400, 1, QM_NAME("DACB_FREQUENCY_COMP_AMP_REAR"), QM_COMP_FREQ, 64, 4, 26, Element::I16, Scale::AsRead, 26, 0,
     "#Das sind die Amplitudewerte [1/10000]\n"},
    {14500, 1, QM_NAME("DACB_FREQUENCY_COMP_PH_REAR"), QM_COMP_FREQ, 64, 4, 26, Element::I16, Scale::AsRead, 26, 0,
     "#Das sind die Phasenwerte  [1/100]\n"},
    {14000, 1, QM_NAME("DACB_IQ_IMBALANCE_AMP"), QM_IMB_FREQ, 64, 4, 26, Element::I16, Scale::AsRead, 26, 0,
     "#Das sind die Amplitudenwerte der RF Imbalance [1/10000]\n"},
    {14100, 1, QM_NAME("DACB_IQ_IMBALANCE_PH"), QM_IMB_FREQ, 64, 4, 26, Element::I16, Scale::AsRead, 26, 0,
     "#Das sind die Phasenwerte der RF Imbalance [1/100]\n"},
    {14200, 1, QM_NAME("DACB_IQ_IMBALANCE_SWAP_AMP"), QM_IMB_FREQ, 64, 4, 26, Element::I16, Scale::AsRead, 26, 0,
     "#Das sind die Amplitudewerte der RF Imbalance mit IQ Swap [1/10000]\n"},
    {14300, 1, QM_NAME("DACB_IQ_IMBALANCE_SWAP_PH"), QM_IMB_FREQ, 64, 2, 26, Element::I16, Scale::AsRead, 26, 0,
     "#Das sind die Phasenwerte der RF Imbalance mit IQ Swap [1/100]\n"},
    {14700, 1, QM_NAME("DACB_IQ_IMBALANCE_REAR_AMP"), QM_IMB_FREQ, 64, 4, 26, Element::I16, Scale::AsRead, 26, 0,
     "#Das sind die Amplitudewerte der IQ Output Imbalance [1/10000]\n"},
    {14800, 1, QM_NAME("DACB_IQ_IMBALANCE_REAR_PH"), QM_IMB_FREQ, 64, 4, 26, Element::I16, Scale::AsRead, 26, 0,
     "#Das sind die Phasenwerte der RF Imbalance [1/100]\n"},
    {15601, 1, QM_DVK, 132, 4, 30, Element::F32, Scale::AsRead, 30, 1,
     "#Das sind die GainWerte I der DVK ANALOG Imbalance\n"},
    {15602, 1, QM_DVK, 132, 4, 30, Element::F32, Scale::AsRead, 30, 3,
     "#Das sind die GainWerte Q der DVK ANALOG Imbalance\n"},
    {15603, 1, QM_DVK, 132, 4, 30, Element::F32, Scale::AsRead, 30, 2,
     "#Das sind die Phasenwerte I der DVK ANALOG Imbalance \n"},
    {15604, 1, QM_DVK, 132, 4, 30, Element::F32, Scale::AsRead, 30, 4,
     "#Das sind die Phasenwerte Q der DVK ANALOG Imbalance \n"},
    {15021, 1, QM_NAME("LIMITER_MAX_VOLTAGE"), QM_NAME("LIMITER_FREQUENCY_NODE_GHZ"), 812, 4, 100, Element::F64,
     Scale::AsRead, 100, 0,
     "# Limiter: Hier stehen die Detektorspannungen bei maximal zul\xE4" "ssigem Pegel\n"
     "# Wertebereich: 0...8V\n"},
};
// clang-format on

}  // namespace

std::string Naming::of(std::uint32_t instance) const {
    if (suffix == nullptr) return prefix;
    return std::string(prefix) + static_cast<char>('A' + instance) + suffix;
}

std::size_t elementWidth(Element element) {
    switch (element) {
        case Element::U8:
        case Element::Word:
            return 1;
        case Element::U16:
        case Element::I16:
            return 2;
        case Element::U32:
        case Element::I32:
        case Element::F32:
            return 4;
        case Element::F64:
            return 8;
    }
    return 0;
}

RowSpan<RecordLayout> recordLayouts() {
    return QM_ROWS(kRecords);
}
RowSpan<SingleValueLayout> singleValueLayouts() {
    return QM_ROWS(kSingleValues);
}
RowSpan<ListLayout> listLayouts() {
    return QM_ROWS(kLists);
}
RowSpan<CompanionLayout> companionLayouts() {
    return QM_ROWS(kCompanions);
}

}  // namespace quenmap
