// The view table against the block catalogue: every type has its row, every
// companion is a frequency list of the catalogue, every series shape fits
// the way its type is read.

#include "views/viewtable.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "datablocks/tables/hwtabledatablock.h"
#include "views/blockcontent.h"

namespace quenview {
namespace {

using quenmap::BlockKind;
using quenmap::BlockType;

std::vector<const BlockType*> catalogue() {
    std::vector<const BlockType*> types;
    for (const BlockType* type = quenmap::blockTypesBegin(); type != quenmap::blockTypesEnd();
         ++type) {
        types.push_back(type);
    }
    return types;
}

TEST(ViewTable, EveryCatalogueTypeHasItsOneRow) {
    for (const BlockType* type : catalogue()) {
        const ViewRow* row = viewRowFor(type->kind);
        ASSERT_NE(row, nullptr) << type->className << " has no view row";
        EXPECT_EQ(row->kind, type->kind) << type->className;
        EXPECT_EQ(std::count_if(viewRowsBegin(), viewRowsEnd(),
                                [&](const ViewRow& view) { return view.kind == type->kind; }),
                  1)
            << type->className;
    }
    EXPECT_EQ(static_cast<std::size_t>(viewRowsEnd() - viewRowsBegin()), catalogue().size());
}

// The forms that can carry each series shape.
struct SeriesFit {
    Series series;
    std::vector<Form> forms;
};

const SeriesFit kSeriesFits[] = {
    {Series::List, {Form::List, Form::Table}},
    {Series::Matrix, {Form::Matrix, Form::Table, Form::DetLinCorr}},
    {Series::Table,
     {Form::Table, Form::AmGain, Form::RfmState, Form::RfmV20, Form::IqOp6Calib, Form::Lowpass,
      Form::AttResponse}},
};

TEST(ViewTable, SeriesShapesFitTheWayTheTypeIsRead) {
    for (const BlockType* type : catalogue()) {
        const ViewRow& row = *viewRowFor(type->kind);
        const quenmap::TableDescriptor* table = quenmap::findTableDescriptor(type->kind);
        EXPECT_EQ(row.form == Form::Table, table != nullptr) << type->className;
        // A series needs the list whose values are its x axis.
        EXPECT_EQ(row.series != Series::None, row.companion != BlockKind::Count) << type->className;
        if (row.series == Series::None) continue;
        const SeriesFit* fit = nullptr;
        for (const SeriesFit& candidate : kSeriesFits) {
            if (candidate.series == row.series) fit = &candidate;
        }
        ASSERT_NE(fit, nullptr);
        EXPECT_NE(std::find(fit->forms.begin(), fit->forms.end(), row.form), fit->forms.end())
            << type->className;
        // A list series is one column: a counted list, or a table of one column.
        if (row.series == Series::List && table != nullptr) {
            EXPECT_EQ(table->shape.columns, 1u) << type->className;
        }
        EXPECT_TRUE(hasSeries(*type));
    }
}

TEST(ViewTable, CompanionsAreFrequencyListsOfTheCatalogue) {
    for (const BlockType* type : catalogue()) {
        const ViewRow& row = *viewRowFor(type->kind);
        if (row.companion == BlockKind::Count) continue;
        ASSERT_LT(row.companion, BlockKind::Count) << type->className;
        const BlockType& companion = quenmap::blockType(row.companion);
        const ViewRow& list = *viewRowFor(row.companion);
        EXPECT_EQ(list.series, Series::None) << type->className;
        EXPECT_TRUE(list.form == Form::List || list.form == Form::NineLists ||
                    list.form == Form::Table)
            << type->className;
        if (const quenmap::TableDescriptor* table = quenmap::findTableDescriptor(row.companion)) {
            EXPECT_EQ(table->shape.columns, 1u) << type->className;
        }
        // Same path, or one list for every instance.
        EXPECT_TRUE(companion.instances == 1 || companion.instances == type->instances)
            << type->className;
        for (std::uint16_t i = 0; i < type->instances; ++i) {
            const auto id = static_cast<std::uint16_t>(type->baseId + i);
            const std::optional<std::uint16_t> companionId = companionIdOf(*type, id);
            ASSERT_TRUE(companionId.has_value());
            const BlockType* owner = quenmap::blockTypeForId(*companionId);
            ASSERT_NE(owner, nullptr);
            EXPECT_EQ(owner->kind, row.companion);
            if (companion.instances > 1) {
                EXPECT_EQ(*companionId, companion.baseId + i);
            }
        }
    }
}

TEST(ViewTable, NoValueMarkersBelongToMatrices) {
    for (const ViewRow* row = viewRowsBegin(); row != viewRowsEnd(); ++row) {
        if (row->noValue || row->rowsShown != 0 || row->leadField != nullptr) {
            EXPECT_EQ(row->form, Form::Matrix) << quenmap::blockType(row->kind).className;
        }
    }
}

struct InstanceCase {
    std::uint16_t id;
    const char* kind;
    std::uint32_t index;
    const char* label;
};

const InstanceCase kInstanceCases[] = {
    {2, "", 0, ""},                 // single type
    {12062, "path", 2, "C"},        // EXT_CAL_DAT_C_LEVEL
    {12143, "path", 3, "D"},        // PATH_D_IQ_IMBALANCE_RF_ODD_PH
    {10303, "state", 1, "1"},       // IQOP3_RFM_CALIB_DATA of state 1
    {10310, "state", 8, "8"},       // ... of state 8
    {10605, "counter", 2, "2"},     // SATT3_OWLD_COUNTER_2
    {11303, "counter", 4, "4"},     // SATTC_HPCOUNTER_BACKUP
    {15646, "instance", 12, "12"},  // DVK_WIQ_SENSOR1_DATA_12
    {205, "instance", 5, "5"},      // SERVICE_205
};

TEST(ViewTable, InstancesAreNamedByTheirKind) {
    for (const InstanceCase& test : kInstanceCases) {
        const BlockType* type = quenmap::blockTypeForId(test.id);
        ASSERT_NE(type, nullptr) << test.id;
        const Instance instance = instanceOf(*type, test.id);
        EXPECT_EQ(instance.kind, test.kind) << test.id;
        EXPECT_EQ(instance.index, test.index) << test.id;
        EXPECT_EQ(instance.label, test.label) << test.id;
    }
}

}  // namespace
}  // namespace quenview
