#pragma once
// The row-by-column table block family. One class, HwTableDatablock, holds
// every table block: its shape (capacities, cell type, trailer), text name,
// base id, instance index and scale come from its creator. The named table
// types of tablecatalogue.def are thin types over it that only supply those
// constant arguments.

#include <cstdint>
#include <memory>
#include <string>

#include "datablocks/blockcatalogue.h"
#include "datablocks/hwdatablock.h"
#include "tablelayout.h"

namespace quenmap {

// How a table block is written to and read from the text.
enum class TableTextForm : std::uint8_t {
    Generic,       // "ID:  ", "COUNT:  r*c", cells "%.3f"
    Configurable,  // as Generic with cells "%.5f"
    GxnAttCalFreq,
    GxnAttCalData,
    GxnTempCompFreq,
    GxnTempCompData,
    GxnAttRegAttenuation,
    GxnAttRegData,
};

// One row of tablecatalogue.def.
struct TableDescriptor {
    BlockKind kind;
    const char* className;
    const char* textName;  // of the family; numbered types append "_" + instance
    std::uint16_t baseId;
    std::uint16_t instances;
    std::uint32_t size;
    TableShape shape;
    double scale;
    TableTextForm form;
};

const TableDescriptor* tableDescriptorsBegin();
const TableDescriptor* tableDescriptorsEnd();
// The descriptor of a table kind; null for a kind that is not a table.
const TableDescriptor* findTableDescriptor(BlockKind kind);

class HwTableDatablock : public HwDatablock {
  public:
    // A table of any shape; the generic configurable tables take their
    // capacities from here too. Sizes the block, zero-fills it and writes
    // id = baseId + instance and the length.
    HwTableDatablock(const TableShape& shape, std::string textName, std::uint16_t baseId,
                     std::uint32_t instance, double scale, TableTextForm form,
                     const char* className, std::uint8_t flag);
    // A table of a catalogue type.
    HwTableDatablock(const TableDescriptor& descriptor, std::uint32_t instance, std::uint8_t flag);

    std::uint32_t instance() const { return instance_; }
    std::uint16_t baseId() const { return static_cast<std::uint16_t>(baseId_); }
    const std::string& textName() const { return textName_; }
    double scale() const { return scale_; }
    std::uint32_t rowCapacity() const { return shape_.rows; }
    std::uint32_t columnCapacity() const { return shape_.columns; }
    const TableShape& shape() const { return shape_; }
    TableTextForm textForm() const { return form_; }

    std::uint32_t rowsInUse() const { return readU32(bytes_, kTableRowsOffset); }
    std::uint32_t columnsInUse() const { return readU32(bytes_, kTableColumnsOffset); }
    void setRowsInUse(std::uint32_t rows) { storeU32(kTableRowsOffset, rows); }
    void setColumnsInUse(std::uint32_t columns) { storeU32(kTableColumnsOffset, columns); }

    // Stored cell * scale; 0 outside the capacity.
    double cell(std::uint32_t row, std::uint32_t column) const;
    // The stored number, no scale applied.
    double storedCell(std::uint32_t row, std::uint32_t column) const;
    // The stored bits of an integer cell (sign-extended where signed).
    std::int64_t rawCell(std::uint32_t row, std::uint32_t column) const;
    // Stores a number as it is to be kept (no scale applied); outside the
    // capacity nothing happens.
    void setStoredCell(std::uint32_t row, std::uint32_t column, double value);

    std::uint32_t rowLabel(std::uint32_t row) const;
    void setRowLabel(std::uint32_t row, std::uint32_t label);

    std::size_t blockSize() const override { return shape_.blockSize(); }
    const char* className() const override { return className_; }
    std::ostream& writeText(std::ostream& out) const override;

  protected:
    // Stores a cell, reads it back and reports a mismatch (code 1040002 with
    // the given detail). Answers 0, or -1 outside the capacity or on a
    // mismatch; the checksum is refreshed either way.
    int setCellWithReadBack(std::uint32_t row, std::uint32_t column, double value,
                            const char* detail);

  private:
    std::uint32_t instance_;
    std::uint32_t baseId_;
    std::string textName_;
    double scale_;
    TableShape shape_;
    TableTextForm form_;
    const char* className_;
};

// A named table type of the catalogue.
template <BlockKind Kind>
class HwTableBlockType : public HwTableDatablock {
  public:
    explicit HwTableBlockType(std::uint32_t instance = 0, std::uint8_t flag = 1)
        : HwTableDatablock(*findTableDescriptor(Kind), instance, flag) {}
    static std::unique_ptr<HwDatablock> create(std::uint32_t instance, std::uint8_t flag) {
        return std::make_unique<HwTableBlockType>(instance, flag);
    }
};

// RFBO_TCXO_CAL, the one table with a value setter of its own.
class HwRfboTcxoCalTable : public HwTableBlockType<BlockKind::GxlRfboTcxoCal> {
  public:
    using HwTableBlockType::HwTableBlockType;
    static std::unique_ptr<HwDatablock> create(std::uint32_t instance, std::uint8_t flag) {
        return std::make_unique<HwRfboTcxoCalTable>(instance, flag);
    }
    // Stores the value in a row, reads it back and compares; -1 for a row of
    // 8 or more or on a mismatch (reported), 0 on success.
    int setTcxoValue(std::int32_t value, std::uint32_t row);
};

// The class of each table kind: the plain type unless a kind has its own.
template <BlockKind Kind>
struct TableClassOf {
    using type = HwTableBlockType<Kind>;
};
template <>
struct TableClassOf<BlockKind::GxlRfboTcxoCal> {
    using type = HwRfboTcxoCalTable;
};

#define QM_TABLE(kind, cls, text, base, instances, size, rows, columns, cell, trailer, scale, \
                 form)                                                                        \
    using cls = TableClassOf<BlockKind::kind>::type;
#include "tablecatalogue.def"

}  // namespace quenmap
