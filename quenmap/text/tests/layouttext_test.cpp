// Text forms of records, single values, lists and companion lists: the exact
// image read from a section and the exact section written from that image.

#include <gtest/gtest.h>

#include <functional>

#include "layouttesting.h"

namespace quenmap::test {
namespace {

struct Case {
    const char* label;
    std::uint16_t id;
    std::size_t size;
    std::string context;  // text the reader needs before the section (a companion's frequencies)
    std::string section;  // exactly what the writer prints
    std::function<Image()> image;
};

// Comment lines in Latin-1.
#define SUPPORT      \
    "Frequenzst\xFC" \
    "tzstellen"

const char kHarmonicHelp[] =
    "# ausgewertete Syntaxelemente :\n"
    "#  #       als Kommentarzeile\n"
    "#       Kommentare d\xFC"
    "rfen NICHT innerhalb eines Datenblocks eingef\xFC"
    "gt werden\n"
    "# Schl\xFC"
    "sselworte:   zur Zuordnung der gelesenen Werte (Auswertung erfolgt in Gro\xDF"
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

const char kIqRfFreqB[] =
    "ID:              PATH_C_IQ_IMBALANCE_RF_FREQ\nCOUNT:           2\n1:             100\n"
    "2:             200\n\n";
const char kDacbCompFreq[] =
    "ID:              DACB_FREQUENCY_COMP_FREQ\nCOUNT:           3\n1:             1\n"
    "2:             2\n3:             3\n\n";
const char kDacbImbFreq[] =
    "ID:              DACB_IQ_IMBALANCE_FREQ\nCOUNT:           1\n1:             5\n\n";

Image twoI16(std::uint16_t id, std::uint32_t count, std::int16_t a, std::int16_t b = 0,
             std::int16_t c = 0) {
    return Image(id, 64).u32(8, count).i16(12, a).i16(14, b).i16(16, c);
}

std::vector<Case> cases() {
    std::vector<Case> all = {
        // ---- records --------------------------------------------------------------
        {"VCO_IDENT", 10502, 28, "",
         "# Das sind die VCO Ident Daten\nID:              VCO_IDENT\n"
         "JOBNR:           123456\nSERNR:           1\nLOTNR:           2\nTAZ:             3\n"
         "OSC3SUB_H:       4\nOSC3SUB_L:       5\nOSC2SUB_H:       6\nOSC2SUB_L:       65535\n"
         "OSC1SUB_H:       8\n\n",
         [] {
             return Image(10502, 28)
                 .u32(8, 123456)
                 .u16(12, 1)
                 .u16(14, 2)
                 .u16(16, 3)
                 .u16(18, 4)
                 .u16(20, 5)
                 .u16(22, 6)
                 .u16(24, 65535)
                 .u16(26, 8);
         }},
        {"GENERATOR_MODEL", 12001, 40, "",
         "# Das ist der Modellname des GXR`s\nID:              GENERATOR_MODEL\n"
         "MODEL:           SMX100A\n\n",
         [] { return Image(12001, 40).text(8, "SMX100A"); }},
        {"SERIAL_NUMBER", 12000, 12, "",
         "# Das ist die Seriennummer des GXx`s\nID:              SERIAL_NUMBER\n"
         "SN:              101234\n\n",
         [] { return Image(12000, 12).u32(8, 101234); }},
        {"DACIF_FULLSCALEVALUE", 12500, 12, "",
         "# Das ist der FullScaleValue\nID:              DACIF_FULLSCALEVALUE\n"
         "FullscaleValue:  4000000000\n\n",
         [] { return Image(12500, 12).u32(8, 4000000000u); }},
        {"SATT3_OWLD_COUNTER_1", 10604, 12, "",
         "#Das ist der OWLD-Z\xE4"
         "hler\nID:              SATT3_OWLD_COUNTER_1\n"
         "COUNT_VALUE:     77\n\n",
         [] { return Image(10604, 12).u32(8, 77); }},
        {"SATT3_OWLD_COUNTER_2", 10605, 12, "",
         "#Das ist der zweite OWLD-Z\xE4"
         "hler\nID:              SATT3_OWLD_COUNTER_2\n"
         "COUNT_VALUE:     0\n\n",
         [] { return Image(10605, 12); }},
        {"SATT6_OWLD_COUNTER_1", 11203, 12, "",
         "# Das ist der OWLD-Z\xE4"
         "hler_1\nID:              SATT6_OWLD_COUNTER_1\n"
         "COUNT_VALUE:     4294967295\n\n",
         [] { return Image(11203, 12).u32(8, 0xFFFFFFFFu); }},
        {"SATT6_OWLD_COUNTER_2", 11204, 12, "",
         "# Das ist der OWLD-Z\xE4"
         "hler_2\nID:              SATT6_OWLD_COUNTER_2\n"
         "COUNT_VALUE:     9\n\n",
         [] { return Image(11204, 12).u32(8, 9); }},
        {"SATTC_OVLDCOUNTER", 11300, 16, "",
         "#Das ist der OVLD-Z\xE4"
         "hler\nID:              SATTC_OVLDCOUNTER\n"
         "COUNT_VALUE:     1\nCOUNT_VALUE:     2\n\n",
         [] { return Image(11300, 16).u32(8, 1).u32(12, 2); }},
        {"SATTC_OVLDCOUNTER_BACKUP", 11301, 16, "",
         "#Das ist der backup OVLD-Z\xE4"
         "hler\nID:              SATTC_OVLDCOUNTER_BACKUP\n"
         "COUNT_VALUE:     3\nCOUNT_VALUE:     4\n\n",
         [] { return Image(11301, 16).u32(8, 3).u32(12, 4); }},
        {"SATTC_HPCOUNTER", 11302, 16, "",
         "#Das ist der HP-Z\xE4"
         "hler\nID:              SATTC_HPCOUNTER\n"
         "COUNT_VALUE:     5\nCOUNT_VALUE:     6\n\n",
         [] { return Image(11302, 16).u32(8, 5).u32(12, 6); }},
        {"SATTC_HPCOUNTER_BACKUP", 11303, 16, "",
         "#Das ist der backup HP-Z\xE4"
         "hler\nID:              SATTC_HPCOUNTER_BACKUP\n"
         "COUNT_VALUE:     7\nCOUNT_VALUE:     8\n\n",
         [] { return Image(11303, 16).u32(8, 7).u32(12, 8); }},
        {"IQOP3_RFM_HARMONIC", 10300, 32, "",
         std::string(kHarmonicHelp) +
             "ID:              IQOP3_RFM_HARMONIC\nHARM_FILT1:      1000000\n"
             "HARM_FILT2:      2000000\nHARM_FILT3:      3000000\nHARM_FILT4:      4000000\n"
             "HARM_FILT5:      5000000\nHARM_FILT6:      4294967295\n\n",
         [] {
             return Image(10300, 32)
                 .u32(8, 1000000)
                 .u32(12, 2000000)
                 .u32(16, 3000000)
                 .u32(20, 4000000)
                 .u32(24, 5000000)
                 .u32(28, 0xFFFFFFFFu);
         }},
        {"IQOP3_RFM_CALIB_DATA_MISC_V20", 10315, 116, "",
         "# Das sind die Kalibrierdaten IQOP3 RFM MISC Version 2.0\n"
         "ID:              IQOP3_RFM_CALIB_DATA_MISC_V20\n"
         "LMAX_LOW:              1.5\nLMAX_MED:              -2.25\nLMAX_HIGH:             0.1\n"
         "LMAX_OVR:              3\n"
         "LCAL_SENS_LOW:         4\nLCAL_SENS_MED:         5\nLCAL_SENS_HIGH:        6\n"
         "LCAL_SENS_OVR:         7\n"
         "VCAL_SENS_LOW:         8\nVCAL_SENS_MED:         9\nVCAL_SENS_HIGH:        10\n"
         "VCAL_SENS_OVR:         11\n"
         "LRANGE_CW_NORM:        12\nLRANGE_CW_OVR:         13\nLRANGE_IQ_NORM:        14\n"
         "LRANGE_IQ_OVR:         15\n"
         "UIQ:                   0.35\n"
         "LCON_RESERVE_CW_NORM:  16\nLCON_RESERVE_CW_OVR:   17\nLCON_RESERVE_IQ_NORM:  18\n"
         "LCON_RESERVE_IQ_OVR:   19\n"
         "LPRE_CAL_LEV_CW_NORM:  20\nLPRE_CAL_LEV_CW_OVR:   21\nLPRE_CAL_LEV_IQ_NORM:  22\n"
         "LPRE_CAL_LEV_IQ_OVR:   23\n"
         "DETATT_LOW:            -1\nDETATT_MED:            2\nDETATT_HIGH:           3\n"
         "DETATT_OVR:            32767\n\n",
         [] {
             Image image(10315, 116);
             image.f32(8, 1.5f).f32(12, -2.25f).f32(16, 0.1f).f32(20, 3.0f);
             for (int i = 0; i < 12; ++i) image.f32(24 + 4 * i, static_cast<float>(4 + i));
             image.f32(72, 0.35f);
             for (int i = 0; i < 8; ++i) image.f32(76 + 4 * i, static_cast<float>(16 + i));
             return image.i16(108, -1).i16(110, 2).i16(112, 3).i16(114, 32767);
         }},
        // ---- single values ----------------------------------------------------------
        {"SSYN_OCXO_REF_CAL_VALUE", 10000, 16, "",
         "# Das sind die Ssyn_Ocxo Kalibrierwerte\n"
         "# Maximal m\xF6"
         "gliche Koefizienten sind mit dieser ID 1\n"
         "ID:            SSYN_OCXO_REF_CAL_VALUE\nCOUNT:      1\n1:          123456\n\n",
         [] { return Image(10000, 16).u32(8, 1).u32(12, 123456); }},
        {"SYNEX_OCXO_REF_CAL_VALUE", 15000, 16, "",
         "# Das sind die Synex_Ocxo Kalibrierwerte\n"
         "# Maximal m\xF6"
         "gliche Koefizienten sind mit dieser ID 1\n"
         "ID:            SYNEX_OCXO_REF_CAL_VALUE\nCOUNT:      1\n1:          -1\n\n",
         [] { return Image(15000, 16).u32(8, 1).u32(12, 0xFFFFFFFFu); }},
        {"FSYN_TCXO_REF_CAL_VALUE", 15001, 16, "",
         "# Das sind die Fsyn_Ocxo Kalibrierwerte\n"
         "# Maximal m\xF6"
         "gliche Koefizienten sind mit dieser ID 1\n"
         "ID:            FSYN_TCXO_REF_CAL_VALUE\nCOUNT:      0\n1:          0\n\n",
         [] { return Image(15001, 16); }},
        {"GXP_OCXO_REF_CAL_VALUE", 15002, 16, "",
         "#Kalibrierwert f\xFC"
         "r den Feinabgleich der OCXO-Frequenz\n# Wertebereich: 0...65535\n"
         "# Maximal m\xF6"
         "gliche Koefizienten sind mit dieser ID 1\n"
         "ID:            GXP_OCXO_REF_CAL_VALUE\nCOUNT:      1\n1:          65535\n\n",
         [] { return Image(15002, 16).u32(8, 1).u32(12, 65535); }},
        {"DVK_BASEBOARD_CALIB_VALUE", 15605, 16, "",
         "# Das ist  der Baseboard Kalibrierwert\n"
         "ID:            DVK_BASEBOARD_CALIB_VALUE\nCOUNT:      1\n1:          42\n\n",
         [] { return Image(15605, 16).u32(8, 1).u32(12, 42); }},
        {"DPH_MBRD_PLL_DAC_VALUE", 12280, 16, "",
         "# Einstellwert fuer den PLL-DAC bewirkt genaue Einstellung der Referenzfrequenz\n"
         "# Wertebereich: 0..3FFh (0..1023) entspricht Frequenz 10MHz +/-150Hz\n"
         "ID:            DPH_MBRD_PLL_DAC_VALUE\nCOUNT:      1\n1:          1023\n\n",
         [] { return Image(12280, 16).u32(8, 1).u32(12, 1023); }},
        // ---- lists ------------------------------------------------------------------
        {"SSYN_OPU_DBL_COEFFICIENT", 10001, 36, "",
         "# Das sind die " SUPPORT " f\xFC"
         "r Ssyn_Opu_Dbl_Coefficient\n"
         "# Maximal m\xF6"
         "gliche Koeffizienten sind mit dieser ID 3\n"
         "ID:              SSYN_OPU_DBL_COEFFICIENT\nCOUNT:           3\n"
         "1:             12\n2:             0.125\n3:             -3.000001\n\n",
         [] { return Image(10001, 36).u32(8, 3).f64(12, 12.0).f64(20, 0.125).f64(28, -3.000001); }},
        {"SSYN_OPU_LEVEL_FREQ", 10002, 412, "",
         "# Das sind die " SUPPORT " f\xFC"
         "r Ssyn_Opu_Dbl_Coefficient\n"
         "# Maximal m\xF6"
         "gliche " SUPPORT " sind mit dieser ID 50\n"
         "ID:              SSYN_OPU_LEVEL_FREQ\nCOUNT:           2\n"
         "1:             1000000\n2:             2500000000.5\n\n",
         [] { return Image(10002, 412).u32(8, 2).f64(12, 1e6).f64(20, 2500000000.5); }},
        {"SSYN_OPU_LEVEL", 10003, 212, "",
         "# Das sind die Ssyn_Opu_Dbl_Coefficient in [mV]\n"
         "# Maximal m\xF6"
         "gliche Koefizienten sind mit dieser ID 50\n"
         "ID:              SSYN_OPU_LEVEL\nCOUNT:           2\n1:             700\n2:             "
         "0\n\n",
         [] { return Image(10003, 212).u32(8, 2).u32(12, 700); }},
        {"IQOP3_RFM_CALIB_DATA_FREQ", 10302, 1212, "",
         "LEV_PRE_TAB:\n# Kalibrierfrequenzen Maximale Anzahl mit dieser Id ist 300\n"
         "ID:              IQOP3_RFM_CALIB_DATA_FREQ\nCOUNT:           3\n"
         "Zeile1:             1000000.00\nZeile2:             1000000.01\n"
         "Zeile3:             2500000.00\n\n",
         [] {
             return Image(10302, 1212).u32(8, 3).u32(12, 100000).u32(16, 100000).u32(20, 250000);
         }},
        {"CWOP3_6_AM_GAIN_FREQ", 10500, 1612, "",
         "#" SUPPORT
         ", maximale Anzahl mit dieser Id ist 200\nID:              CWOP3_6_AM_GAIN_FREQ\n"
         "COUNT:           1\n1:             0.1\n\n",
         [] { return Image(10500, 1612).u32(8, 1).f64(12, 0.1); }},
        {"SATT3_CALIB_FREQ", 10601, 612, "",
         "#Das sind die " SUPPORT "\nID:              SATT3_CALIB_FREQ\nCOUNT:           2\n"
         "1:             5000000.00\n2:             5000000.01\n\n",
         [] { return Image(10601, 612).u32(8, 2).u32(12, 500000).u32(16, 500000); }},
        {"SATT6_CALIB_FREQ", 11200, 612, "",
         "#Das sind die " SUPPORT "\nID:              SATT6_CALIB_FREQ\nCOUNT:           1\n"
         "1:             42949672950.00\n\n",
         [] { return Image(11200, 612).u32(8, 1).u32(12, 0xFFFFFFFFu); }},
        {"IQOP6_PMAX_BZ", 10900, 44, "",
         "# DETATT-Kalibriertabelle: DETATT, Bezugspegel f\xFC"
         "r DAWERT (bzw. Maxpegel) f\xFC"
         "r diesen BZ(detatt):\nID:              IQOP6_PMAX_BZ\nCOUNT_BZ:        2\n"
         "1:             255\n2:             17\n\n",
         [] { return Image(10900, 44).u32(8, 2).u8(12, 255).u8(13, 17); }},
        {"IQOP6_CALIB_DATA_FREQ", 10901, 152, "",
         "#Das sind die " SUPPORT "\nID:              IQOP6_CALIB_DATA_FREQ\nCOUNT:           2\n"
         "0:             100000000.0\n1:             65535000000.0\n\n",
         [] { return Image(10901, 152).u32(8, 2).u16(12, 100).u16(14, 65535); }},
        {"CWOP3_DET_TUNE_C_FREQ", 12192, 812, "",
         "#Das sind die " SUPPORT "\nID:              CWOP3_DET_TUNE_C_FREQ\nCOUNT:           1\n"
         "1:             -7.5\n\n",
         [] { return Image(12192, 812).u32(8, 1).f64(12, -7.5); }},
        {"CWOP_DETLINCORR_B_FREQ", 12291, 412, "",
         "#" SUPPORT
         " Maximale Anzahl mit dieser Id ist 200\nID:              CWOP_DETLINCORR_B_FREQ\n"
         "COUNT:           1\n1:             3000000000\n\n",
         [] { return Image(12291, 412).u32(8, 1).f64(12, 3e9); }},
        {"EXT_CAL_DAT_B_FREQ", 12051, 1052, "",
         "# Das sind die " SUPPORT "\nID:              EXT_CAL_DAT_B_FREQ\nCOUNT:           2\n"
         "1:             1000000.00\n2:             999990.00\n\n",
         [] { return Image(12051, 1052).u32(8, 2).u32(12, 100000).u32(16, 99999); }},
        {"EXT_CAL_DAT_D_FREQ_2_EDITION", 12153, 1052, "",
         "# Das sind die " SUPPORT "\nID:              EXT_CAL_DAT_D_FREQ_2_EDITION\n"
         "COUNT:           1\n1:             10.00\n\n",
         [] { return Image(12153, 1052).u32(8, 1).u32(12, 1); }},
        {"EXT_CAL_DAT_B_FREQ_ENH", 12071, 2012, "",
         "# Das sind die " SUPPORT "\nID:              EXT_CAL_DAT_B_FREQ_ENH\n"
         "COUNT:           0\n\n",
         [] { return Image(12071, 2012); }},
        {"EXT_CAL_DAT_A_FREQ_2_EDITION_ENH", 12090, 2012, "",
         "# Das sind die " SUPPORT "\nID:              EXT_CAL_DAT_A_FREQ_2_EDITION_ENH\n"
         "COUNT:           1\n1:             20.00\n\n",
         [] { return Image(12090, 2012).u32(8, 1).u32(12, 2); }},
        {"ATT_CAL_DAT_C_FREQ_2_EDITION", 12172, 612, "",
         "#Das sind die " SUPPORT "\nID:              ATT_CAL_DAT_C_FREQ_2_EDITION\n"
         "COUNT:           1\n1:             30.00\n\n",
         [] { return Image(12172, 612).u32(8, 1).u32(12, 3); }},
        {"PATH_D_IQ_IMBALANCE_RF_FREQ", 12103, 2412, "",
         "#Das sind die " SUPPORT " [f/1MHz] \nID:              PATH_D_IQ_IMBALANCE_RF_FREQ\n"
         "COUNT:           2\n1:             100\n2:             6000\n\n",
         [] { return Image(12103, 2412).u32(8, 2).u32(12, 100).u32(16, 6000); }},
        {"PATH_B_RF_RESPONSE_LP_FREQ", 12211, 5444, "",
         "#Das sind die " SUPPORT " f\xFC"
         "r die Tiefp\xE4"
         "sse\n"
         "ID:              PATH_B_RF_RESPONSE_LP_FREQ\n"
         "#TIEFPASS NR. 1\n# Das sind die " SUPPORT " [MHz] der RF fuer den 1. TP\n"
         "COUNT:           1\n1:             10\n"
         "#TIEFPASS NR. 2\n# Das sind die " SUPPORT " [MHz] der RF fuer den 2. TP\n"
         "COUNT:           0\n"
         "#TIEFPASS NR. 3\n# Das sind die " SUPPORT " [MHz] der RF fuer den 3. TP\n"
         "COUNT:           2\n1:             30\n2:             31\n"
         "#TIEFPASS NR. 4\n# Das sind die " SUPPORT
         " [MHz] der RF fuer den 4. TP\nCOUNT:           0\n"
         "#TIEFPASS NR. 5\n# Das sind die " SUPPORT
         " [MHz] der RF fuer den 5. TP\nCOUNT:           0\n"
         "#TIEFPASS NR. 6\n# Das sind die " SUPPORT
         " [MHz] der RF fuer den 6. TP\nCOUNT:           0\n"
         "#TIEFPASS NR. 7\n# Das sind die " SUPPORT
         " [MHz] der RF fuer den 7. TP\nCOUNT:           0\n"
         "#TIEFPASS NR. 8\n# Das sind die " SUPPORT
         " [MHz] der RF fuer den 8. TP\nCOUNT:           0\n"
         "#TIEFPASS NR. 9\n# Das sind die " SUPPORT " [MHz] der RF fuer den 9. TP\n"
         "COUNT:           1\n1:             90\n\n",
         [] {
             // Lowpass n holds its 150 slots from 44 + 600 n.
             return Image(12211, 5444)
                 .u32(8, 1)
                 .u32(16, 2)
                 .u32(40, 1)
                 .u32(44, 10)
                 .u32(44 + 1200, 30)
                 .u32(44 + 1204, 31)
                 .u32(44 + 4800, 90);
         }},
        {"PATH_A_RF_RESPONSE_IOPEP_INFO", 12220, 92, "",
         "#Info f\xFC"
         "r Kalibrierpegel (IOPEP Anzahl und Werte, max. IQPEP der Betriebszust\xE4"
         "nde Anzahl und Werte, dazugeh\xF6"
         "riges BBGAIN), dB*100\n"
         "ID:              PATH_A_RF_RESPONSE_IOPEP_INFO\nCOUNT:           1\n1:             "
         "300\n\n",
         [] { return Image(12220, 92).u32(8, 1).u32(12, 300); }},
        {"PATH_B_RF_RESPONSE_BB_FREQ", 12251, 412, "",
         "#Das sind die " SUPPORT
         " des Basisbandes [kHz]\nID:              PATH_B_RF_RESPONSE_BB_FREQ\n"
         "COUNT:           1\n1:             40000\n\n",
         [] { return Image(12251, 412).u32(8, 1).u32(12, 40000); }},
        {"PATH_A_RF_RESPONSE_ATT_FREQ", 12260, 812, "",
         "#Das sind die " SUPPORT " der RF [MHz]\nID:              PATH_A_RF_RESPONSE_ATT_FREQ\n"
         "COUNT:           1\n1:             6000\n\n",
         [] { return Image(12260, 812).u32(8, 1).u32(12, 6000); }},
        {"BBINS_COMP_FIL_TAPS_I", 13000, 92, "",
         "# Das sind die Entzerr-Koeffizienten f\xFC"
         "r Resample I-Pfad\n"
         "# signed fixed point LSB value 21-24\n"
         "# Maximal m\xF6"
         "gliche Koefizienten sind mit dieser ID 20\n"
         "ID:              BBINS_COMP_FIL_TAPS_I\nCOUNT:           2\n1:             -5\n"
         "2:             2097152\n\n",
         [] { return Image(13000, 92).u32(8, 2).u32(12, 0xFFFFFFFBu).u32(16, 2097152); }},
        {"BBINS_COMP_FIL_TAPS_Q", 13050, 92, "",
         "# Das sind die Entzerr-Koeffizienten f\xFC"
         "r Resample Q-Pfad\n"
         "# signed fixed point LSB value 21-24\n"
         "# Maximal m\xF6"
         "gliche Koefizienten sind mit dieser ID 20\n"
         "ID:              BBINS_COMP_FIL_TAPS_Q\nCOUNT:           1\n1:             "
         "-2147483648\n\n",
         [] { return Image(13050, 92).u32(8, 1).u32(12, 0x80000000u); }},
        {"BBINS_UNCALIBRATED_FIR_AMPLITUDE_I", 13100, 212, "",
         "# unkalibrierter BBIN-Amplitudengang fuer I-Pfad\n"
         "# Format: signed integer (32 Bit-Darstellung)\n"
         "# Maximal m\xF6"
         "gliche Koefizienten mit dieser ID 50\n"
         "ID:              BBINS_UNCALIBRATED_FIR_AMPLITUDE_I\nCOUNT:           1\n1:             "
         "1\n\n",
         [] { return Image(13100, 212).u32(8, 1).u32(12, 1); }},
        {"BBINS_UNCALIBRATED_FIR_PHI_I", 13101, 212, "",
         "# unkalibrierter BBIN-Phasengang fuer I-Pfad\n"
         "# Format: signed integer (32 Bit-Darstellung)\n"
         "# Maximal m\xF6"
         "gliche Koefizienten mit dieser ID 50\n"
         "ID:              BBINS_UNCALIBRATED_FIR_PHI_I\nCOUNT:           1\n1:             -2\n\n",
         [] { return Image(13101, 212).u32(8, 1).u32(12, 0xFFFFFFFEu); }},
        {"BBINS_UNCALIBRATED_FIR_AMPLITUDE_Q", 13102, 212, "",
         "# unkalibrierter BBIN-Amplitudengang fuer Q-Pfad\n"
         "# Format: signed integer (32 Bit-Darstellung)\n"
         "# Maximal m\xF6"
         "gliche Koefizienten mit dieser ID 50\n"
         "ID:              BBINS_UNCALIBRATED_FIR_AMPLITUDE_Q\nCOUNT:           1\n1:             "
         "3\n\n",
         [] { return Image(13102, 212).u32(8, 1).u32(12, 3); }},
        {"BBINS_UNCALIBRATED_FIR_PHI_Q", 13103, 212, "",
         "# unkalibrierter BBIN-Phasengang fuer Q-Pfad\n"
         "# Format: signed integer (32 Bit-Darstellung)\n"
         "# Maximal m\xF6"
         "gliche Koefizienten mit dieser ID 50\n"
         "ID:              BBINS_UNCALIBRATED_FIR_PHI_Q\nCOUNT:           1\n1:             4\n\n",
         [] { return Image(13103, 212).u32(8, 1).u32(12, 4); }},
        {"DACB_FREQUENCY_COMP_FREQ", 13500, 116, "",
         "#Das sind die " SUPPORT " [f/1Hz]\nID:              DACB_FREQUENCY_COMP_FREQ\n"
         "COUNT:           1\n1:             1000\n\n",
         [] { return Image(13500, 116).u32(8, 1).u32(12, 1000); }},
        {"DACB_FREQUENCY_COMP_DT", 13800, 16, "",
         "#Das ist der dt-Wert [1/1e12]\nID:              DACB_FREQUENCY_COMP_DT\n"
         "COUNT:           2\n1:             -32768\n2:             32767\n\n",
         [] { return Image(13800, 16).u32(8, 2).i16(12, -32768).i16(14, 32767); }},
        {"DACB_FREQUENCY_COMP_DT_REAR", 14600, 16, "",
         "#Das ist der dt-Wert [1/1e12]\nID:              DACB_FREQUENCY_COMP_DT_REAR\n"
         "COUNT:           1\n1:             -3\n\n",
         [] { return Image(14600, 16).u32(8, 1).i16(12, -3); }},
        {"DACB_IQ_IMBALANCE_FREQ", 13900, 116, "",
         "#Das sind die " SUPPORT " [f/1Hz]\nID:              DACB_IQ_IMBALANCE_FREQ\n"
         "COUNT:           1\n1:             5\n\n",
         [] { return Image(13900, 116).u32(8, 1).u32(12, 5); }},
        {"DVK_ANALOG_IMBALANCE_FREQ", 15600, 252, "",
         "#Das sind die " SUPPORT " [f/1Hz]\nID:              DVK_ANALOG_IMBALANCE_FREQ\n"
         "COUNT:           1\n1:             1000000.25\n\n",
         [] { return Image(15600, 252).u32(8, 1).f64(12, 1000000.25); }},
        {"ADU_LEV_COARSE_CAL_VALUE", 15650, 108, "",
         "# Alle Kalibrierwerte der Grobabschwaecherstufen\n"
         "# Es werden alle gemessenen oder berechneten Werte gespeichert , k0 = k_16dB_Att\n"
         "# Festlegung, ob Werte kx gemessen oder berechnet werden , erfolgt \xFC"
         "ber Pr\xFC"
         "fanweisung\nID:              ADU_LEV_COARSE_CAL_VALUE\nCOUNT:           1\n"
         "1:             16.02\n\n",
         [] { return Image(15650, 108).u32(8, 1).f64(12, 16.02); }},
        {"LIMITER_FREQUENCY_NODE_GHZ", 15020, 812, "",
         "# Limiter:  Hier stehen die St\xFC"
         "tzstellen f\xFC"
         "r die Frequenzwerte\n"
         "#           Wertebereich: 1...22GHz\n"
         "#           Maximal m\xF6"
         "gliche St\xFC"
         "tzstellen: 100\n"
         "ID:              LIMITER_FREQUENCY_NODE_GHZ\nCOUNT:           2\n1:             1\n"
         "2:             22\n\n",
         [] { return Image(15020, 812).u32(8, 2).f64(12, 1.0).f64(20, 22.0); }},
        {"LEV_CAL_DAT_FREQ", 12040, 6012, "",
         "# " SUPPORT " [Hz]\nID:              LEV_CAL_DAT_FREQ\nCOUNT:           3\n"
         "1:             1000000.000\n2:             1000000.010\n3:             100.000\n\n",
         [] { return Image(12040, 6012).u32(8, 3).u32(12, 10000).u32(16, 10000).u32(20, 1); }},
        {"ATT_CAL_DAT_FREQ", 12044, 812, "",
         "# " SUPPORT " [Hz]\nID:              ATT_CAL_DAT_FREQ\nCOUNT:           1\n"
         "1:             200.000\n\n",
         [] { return Image(12044, 812).u32(8, 1).u32(12, 2); }},
        {"ATT_CAL_DAT_FREQ_SE", 12046, 2012, "",
         "# " SUPPORT " [Hz]\nID:              ATT_CAL_DAT_FREQ_SE\nCOUNT:           1\n"
         "1:             300.000\n\n",
         [] { return Image(12046, 2012).u32(8, 1).u32(12, 3); }},
        {"LEV_CAL_DAT_ABS_CORR", 12042, 3012, "",
         "# Externe Kalibrierdaten [1/100dBm]\nID:              LEV_CAL_DAT_ABS_CORR\n"
         "COUNT:           3\n1:               -150    0    32767\n",
         [] { return Image(12042, 3012).u32(8, 3).i16(12, -150).i16(14, 0).i16(16, 32767); }},
        // ---- companion lists --------------------------------------------------------
        {"PATH_C_IQ_IMBALANCE_RF_EVEN_AMP", 12112, 1212, kIqRfFreqB,
         "#Das sind die geraden Amplitudewerte [1/10000] \n"
         "ID:              PATH_C_IQ_IMBALANCE_RF_EVEN_AMP\n1: -1\n2: 32767\n\n",
         [] { return Image(12112, 1212).u32(8, 2).i16(12, -1).i16(14, 32767); }},
        {"PATH_C_IQ_IMBALANCE_RF_EVEN_PH", 12122, 1212, kIqRfFreqB,
         "#Das sind die geraden Phasenwerte [1/100] \n"
         "ID:              PATH_C_IQ_IMBALANCE_RF_EVEN_PH\n1: 5\n2: -32768\n\n",
         [] { return Image(12122, 1212).u32(8, 2).i16(12, 5).i16(14, -32768); }},
        {"PATH_C_IQ_IMBALANCE_RF_ODD_AMP", 12132, 1212, kIqRfFreqB,
         "#Das sind die ungeraden Amplitudewerte [1/10000] \n"
         "ID:              PATH_C_IQ_IMBALANCE_RF_ODD_AMP\n1: 6\n2: 7\n\n",
         [] { return Image(12132, 1212).u32(8, 2).i16(12, 6).i16(14, 7); }},
        {"PATH_C_IQ_IMBALANCE_RF_ODD_PH", 12142, 1212, kIqRfFreqB,
         "#Das sind die ungeraden Phasenwerte [1/100]\n"
         "ID:              PATH_C_IQ_IMBALANCE_RF_ODD_PH\n1: 8\n2: 9\n\n",
         [] { return Image(12142, 1212).u32(8, 2).i16(12, 8).i16(14, 9); }},
        {"DACB_FREQUENCY_COMP_AMP", 13600, 64, kDacbCompFreq,
         "#Das sind die Amplitudenwerte [1/10 000]\nID:              DACB_FREQUENCY_COMP_AMP\n"
         "1: 1\n2: -2\n3: 3\n\n",
         [] { return twoI16(13600, 3, 1, -2, 3); }},
        {"DACB_FREQUENCY_COMP_PH", 13700, 64, kDacbCompFreq,
         "#Das sind die Phasenwerte  [1/100]\nID:              DACB_FREQUENCY_COMP_PH\n"
         "1: 4\n2: 5\n3: 6\n\n",
         [] { return twoI16(13700, 3, 4, 5, 6); }},
        {"DACB_FREQUENCY_COMP_AMP_REAR", 14400, 64, kDacbCompFreq,
         "#Das sind die Amplitudewerte [1/10000]\nID:              DACB_FREQUENCY_COMP_AMP_REAR\n"
         "1: 7\n2: 8\n3: 9\n\n",
         [] { return twoI16(14400, 3, 7, 8, 9); }},
        {"DACB_FREQUENCY_COMP_PH_REAR", 14500, 64, kDacbCompFreq,
         "#Das sind die Phasenwerte  [1/100]\nID:              DACB_FREQUENCY_COMP_PH_REAR\n"
         "1: 10\n2: 11\n3: 12\n\n",
         [] { return twoI16(14500, 3, 10, 11, 12); }},
        {"DACB_IQ_IMBALANCE_AMP", 14000, 64, kDacbImbFreq,
         "#Das sind die Amplitudenwerte der RF Imbalance [1/10000]\n"
         "ID:              DACB_IQ_IMBALANCE_AMP\n1: -13\n\n",
         [] { return twoI16(14000, 1, -13); }},
        {"DACB_IQ_IMBALANCE_PH", 14100, 64, kDacbImbFreq,
         "#Das sind die Phasenwerte der RF Imbalance [1/100]\nID:              "
         "DACB_IQ_IMBALANCE_PH\n"
         "1: 14\n\n",
         [] { return twoI16(14100, 1, 14); }},
        {"DACB_IQ_IMBALANCE_SWAP_AMP", 14200, 64, kDacbImbFreq,
         "#Das sind die Amplitudewerte der RF Imbalance mit IQ Swap [1/10000]\n"
         "ID:              DACB_IQ_IMBALANCE_SWAP_AMP\n1: 15\n\n",
         [] { return twoI16(14200, 1, 15); }},
        {"DACB_IQ_IMBALANCE_SWAP_PH", 14300, 64, kDacbImbFreq,
         "#Das sind die Phasenwerte der RF Imbalance mit IQ Swap [1/100]\n"
         "ID:              DACB_IQ_IMBALANCE_SWAP_PH\n1: 16\n\n",
         [] { return twoI16(14300, 1, 16); }},
        {"DACB_IQ_IMBALANCE_REAR_AMP", 14700, 64, kDacbImbFreq,
         "#Das sind die Amplitudewerte der IQ Output Imbalance [1/10000]\n"
         "ID:              DACB_IQ_IMBALANCE_REAR_AMP\n1: 17\n\n",
         [] { return twoI16(14700, 1, 17); }},
        {"DACB_IQ_IMBALANCE_REAR_PH", 14800, 64, kDacbImbFreq,
         "#Das sind die Phasenwerte der RF Imbalance [1/100]\n"
         "ID:              DACB_IQ_IMBALANCE_REAR_PH\n1: 18\n\n",
         [] { return twoI16(14800, 1, 18); }},
        {"LIMITER_MAX_VOLTAGE", 15021, 812,
         "ID:              LIMITER_FREQUENCY_NODE_GHZ\nCOUNT:           2\n1:             1\n"
         "2:             22\n\n",
         "# Limiter: Hier stehen die Detektorspannungen bei maximal zul\xE4"
         "ssigem Pegel\n"
         "# Wertebereich: 0...8V\nID:              LIMITER_MAX_VOLTAGE\n1: 7.25\n2: 0.5\n\n",
         [] { return Image(15021, 812).u32(8, 2).f64(12, 7.25).f64(20, 0.5); }},
    };
    return all;
}

class LayoutTextCase : public ::testing::TestWithParam<Case> {};

TEST_P(LayoutTextCase, ReadsTheExactImage) {
    const Case& c = GetParam();
    ReadResult result = readByLayout(c.context + c.section, c.id, c.size);
    ASSERT_EQ(result.status, 0) << result.message;
    EXPECT_EQ(hex(result.bytes), hex(c.image().bytes()));
}

TEST_P(LayoutTextCase, WritesTheExactText) {
    const Case& c = GetParam();
    EXPECT_EQ(writeByLayout(c.image().bytes()), c.section);
}

TEST_P(LayoutTextCase, ReadsBackWhatItWrote) {
    const Case& c = GetParam();
    Bytes first = c.image().bytes();
    std::string text = writeByLayout(first);
    ReadResult again = readByLayout(c.context + text, c.id, c.size);
    ASSERT_EQ(again.status, 0) << again.message;
    EXPECT_EQ(hex(again.bytes), hex(first));
    EXPECT_EQ(writeByLayout(again.bytes), text);
}

INSTANTIATE_TEST_SUITE_P(LayoutText, LayoutTextCase, ::testing::ValuesIn(cases()),
                         [](const ::testing::TestParamInfo<Case>& param) {
                             return std::string(param.param.label);
                         });

}  // namespace
}  // namespace quenmap::test
