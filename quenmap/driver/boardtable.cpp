#include "boardtable.h"

#include <array>
#include <cctype>
#include <cstring>

namespace quenmap {

namespace {

struct BoardRow {
    const char* unitName;
    const char* boardName;  // null: the unit name
    const char* fileStem;   // null: the unit name in lower case
};

// Rows 0-84 in index order.
const BoardRow kRows[kBoardCount] = {
    {"DACIF", nullptr, nullptr},
    {"DACB", nullptr, "dacboard"},
    {"UNICOD", nullptr, nullptr},
    {"FADER", nullptr, nullptr},
    {"BBINS", nullptr, nullptr},
    {"BBINR", nullptr, nullptr},
    {"SSYN", nullptr, nullptr},
    {"SYNEX", nullptr, nullptr},
    {"IQOP3_LCM", "IQOP3", "iqop3"},
    {"IQOP6", nullptr, nullptr},
    {"SATT3", nullptr, nullptr},
    {"SATT6", nullptr, nullptr},
    {"SATT6M", nullptr, nullptr},
    {"MBRD", nullptr, nullptr},
    {"BBOUT", nullptr, nullptr},
    {"LOWPHASENOISE", nullptr, nullptr},
    {"OVERVOLTAGE", nullptr, "overvoltageprot"},
    {"HIGHPOWER", nullptr, nullptr},
    {"IQOP3_RFM", nullptr, "rfm"},
    {"FRONTMODUL", "FMR6", "fmr6"},
    {"FM_PHI_M", nullptr, "fmphim"},
    {"LOSYNC", nullptr, nullptr},
    {"DVK_BASEBOARD", nullptr, "dvkbaseboard"},
    {"DVK_ANALOG", nullptr, "dvkanalog"},
    {"DVK_DIGITAL", nullptr, "dvkdigital"},
    {"GXK_IF", nullptr, "gxkif"},
    {"CLKSYN", nullptr, nullptr},
    {"CWOP3", nullptr, nullptr},
    {"CWOP6", nullptr, nullptr},
    {"SATT3C", nullptr, nullptr},
    {"SATT6C", nullptr, nullptr},
    {"GXKB89", nullptr, nullptr},
    {"FREQCNTR", nullptr, nullptr},
    {"IFBO", nullptr, nullptr},
    {"FSYN", nullptr, nullptr},
    {"ADU", nullptr, nullptr},
    {"DCON", nullptr, nullptr},
    {"OCXO", nullptr, nullptr},
    {"MOD", nullptr, nullptr},
    {"PGEN", nullptr, nullptr},
    {"TMO", nullptr, nullptr},
    {"DMA", nullptr, nullptr},
    {"DET", nullptr, nullptr},
    {"DOUB", nullptr, nullptr},
    {"FILT", nullptr, nullptr},
    {"HPA", nullptr, nullptr},
    {"PMOD", nullptr, nullptr},
    {"SWI", nullptr, nullptr},
    {"ATT22", nullptr, nullptr},
    {"ATT44", nullptr, nullptr},
    {"UPC22", nullptr, nullptr},
    {"UPC44", nullptr, nullptr},
    {"MWIF", nullptr, nullptr},
    {"ESM", nullptr, nullptr},
    {"FD_SWITCH", nullptr, "fdswitch"},
    {"FILT_2", nullptr, nullptr},
    {"HPA_2", nullptr, nullptr},
    {"DOUB_2", nullptr, nullptr},
    {"EX_IQ_BOX", "EX_IQ_BOX_IN", "exbox_in"},
    {"EX_IQ_BOX", "EX_IQ_BOX_OUT", "exbox_out"},
    {"DACB", nullptr, "sudaconverter"},
    {"CODER", nullptr, "sfucoder"},
    {"IFB", nullptr, "sfuifboard"},
    {"BABO", nullptr, nullptr},
    {"RFBO", nullptr, nullptr},
    {"STEREOCODER", nullptr, nullptr},
    {"BBGEN", nullptr, nullptr},
    {"VECTORBOARD", nullptr, nullptr},
    {"OCX", nullptr, nullptr},
    {"STREAM", nullptr, nullptr},
    {"BABO", nullptr, nullptr},
    {"GXN_RFBO", nullptr, nullptr},
    {"DVKW_ANALOG", nullptr, "dvwkanalog"},
    {"DVKW_IQ", nullptr, "dvkwiq"},
    {"STREAM_AUX", nullptr, "streamaux"},
    {"RFBO13", nullptr, nullptr},
    {"RFBO20", nullptr, nullptr},
    {"RFBO40", nullptr, nullptr},
    {"ATT13", nullptr, nullptr},
    {"ATT40", nullptr, nullptr},
    {"LFPA", nullptr, nullptr},
    {"RF", nullptr, nullptr},
    {"CPU", "Controller", "cpu"},
    {"ATT", "Attenuator", "att"},
    {"DOUB", "Doubler", "doub"},
};

void copyText(char* target, std::size_t capacity, const std::string& text) {
    std::memset(target, 0, capacity);
    std::memcpy(target, text.data(), text.size() < capacity - 1 ? text.size() : capacity - 1);
}

BoardEntry makeEntry(int index, const std::string& board, const std::string& unit,
                     const std::string& stem) {
    BoardEntry entry{};
    entry.index = index;
    copyText(entry.boardName, sizeof entry.boardName, board);
    copyText(entry.unitName, sizeof entry.unitName, padUnitName(unit));
    copyText(entry.fileStem, sizeof entry.fileStem, stem);
    return entry;
}

std::array<BoardEntry, kBoardCount + 1> buildTable() {
    std::array<BoardEntry, kBoardCount + 1> table{};
    for (int i = 0; i < kBoardCount; ++i) {
        const BoardRow& row = kRows[i];
        std::string stem;
        if (row.fileStem != nullptr) {
            stem = row.fileStem;
        } else {
            for (const char* c = row.unitName; *c != '\0'; ++c) {
                stem.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(*c))));
            }
        }
        table[i] = makeEntry(i, row.boardName != nullptr ? row.boardName : row.unitName,
                             row.unitName, stem);
    }
    table[kBoardCount] = makeEntry(kBoardCount, "LAST", "LAST", "last");
    return table;
}

}  // namespace

const BoardEntry* boardTable() {
    static const std::array<BoardEntry, kBoardCount + 1> table = buildTable();
    return table.data();
}

bool isSupportedDevice(const std::string& unitName) {
    const BoardEntry* table = boardTable();
    for (int i = 0; i < kBoardCount; ++i) {
        if (std::strncmp(unitName.c_str(), table[i].unitName, kUnitNameLength) == 0) return true;
    }
    return false;
}

std::string padUnitName(const std::string& name) {
    std::string padded = name.substr(0, kUnitNameLength);
    padded.resize(kUnitNameLength, ' ');
    return padded;
}

}  // namespace quenmap
