#include "hwtabledatablock.h"

#include <iterator>
#include <utility>

#include "datablocks/errorreporter.h"
#include "text/tabletext.h"

namespace quenmap {

namespace {

const TableDescriptor kTableDescriptors[] = {
#define QM_TABLE(kind, cls, text, base, instances, size, rows, columns, cell, trailer, scale, \
                 form)                                                                        \
    {BlockKind::kind,                                                                         \
     #cls,                                                                                    \
     text,                                                                                    \
     base,                                                                                    \
     instances,                                                                               \
     size,                                                                                    \
     {rows, columns, CellType::cell, TableTrailer::trailer},                                  \
     scale,                                                                                   \
     TableTextForm::form},
#include "tablecatalogue.def"
};

// The size column of the catalogue is the layout's size, row by row.
#define QM_TABLE(kind, cls, text, base, instances, size, rows, columns, cell, trailer, scale,   \
                 form)                                                                          \
    static_assert(                                                                              \
        TableShape{rows, columns, CellType::cell, TableTrailer::trailer}.blockSize() == (size), \
        #cls " size");
#include "tablecatalogue.def"

std::string instanceTextName(const TableDescriptor& descriptor, std::uint32_t instance) {
    std::string name = descriptor.textName;
    if (descriptor.instances > 1) name += "_" + std::to_string(instance);
    return name;
}

const char kTcxoDetail[] = "Setting TXCO value failed";
constexpr std::uint32_t kTcxoRows = 8;

}  // namespace

const TableDescriptor* tableDescriptorsBegin() {
    return std::begin(kTableDescriptors);
}
const TableDescriptor* tableDescriptorsEnd() {
    return std::end(kTableDescriptors);
}

const TableDescriptor* findTableDescriptor(BlockKind kind) {
    for (const TableDescriptor& descriptor : kTableDescriptors) {
        if (descriptor.kind == kind) return &descriptor;
    }
    return nullptr;
}

HwTableDatablock::HwTableDatablock(const TableShape& shape, std::string textName,
                                   std::uint16_t baseId, std::uint32_t instance, double scale,
                                   TableTextForm form, const char* className, std::uint8_t flag)
    : HwDatablock(flag),
      instance_(instance),
      baseId_(baseId),
      textName_(std::move(textName)),
      scale_(scale),
      shape_(shape),
      form_(form),
      className_(className) {
    initialise(static_cast<std::uint16_t>(baseId + instance), shape.blockSize());
}

HwTableDatablock::HwTableDatablock(const TableDescriptor& descriptor, std::uint32_t instance,
                                   std::uint8_t flag)
    : HwTableDatablock(descriptor.shape, instanceTextName(descriptor, instance), descriptor.baseId,
                       instance, descriptor.scale, descriptor.form, descriptor.className, flag) {}

double HwTableDatablock::cell(std::uint32_t row, std::uint32_t column) const {
    return storedCell(row, column) * scale_;
}

double HwTableDatablock::storedCell(std::uint32_t row, std::uint32_t column) const {
    return readCell(bytes_, shape_, row, column);
}

std::int64_t HwTableDatablock::rawCell(std::uint32_t row, std::uint32_t column) const {
    return readIntegerCell(bytes_, shape_, row, column);
}

void HwTableDatablock::setStoredCell(std::uint32_t row, std::uint32_t column, double value) {
    if (writeCell(bytes_, shape_, row, column, value)) refreshChecksum();
}

std::uint32_t HwTableDatablock::rowLabel(std::uint32_t row) const {
    return readRowLabel(bytes_, shape_, row);
}

void HwTableDatablock::setRowLabel(std::uint32_t row, std::uint32_t label) {
    if (writeRowLabel(bytes_, shape_, row, label)) refreshChecksum();
}

std::ostream& HwTableDatablock::writeText(std::ostream& out) const {
    return writeTableBlockText(out, *this);
}

int HwTableDatablock::setCellWithReadBack(std::uint32_t row, std::uint32_t column, double value,
                                          const char* detail) {
    if (!shape_.holds(row, column)) return -1;
    const bool written = writeCell(bytes_, shape_, row, column, value);
    refreshChecksum();
    if (!written || storedCell(row, column) != value) {
        ErrorReporter::report(error_codes::kWriteToEepromFailed, detail);
        return -1;
    }
    return 0;
}

int HwRfboTcxoCalTable::setTcxoValue(std::int32_t value, std::uint32_t row) {
    if (row >= kTcxoRows) return -1;
    return setCellWithReadBack(row, 0, value, kTcxoDetail);
}

}  // namespace quenmap
