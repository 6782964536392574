#include "QStringPrinter.h"
#include "TableRows.h"

#include <functional>
#include <gtest/gtest.h>

namespace {

using journal::FieldDef;
using journal::RecordTable;

struct LayoutCase {
    const char* name;
    std::function<RecordTable()> make;
    std::vector<std::pair<QString, int>> fields;
};

// Names the case in test names and failure messages.
void PrintTo(const LayoutCase& c, std::ostream* os) {
    *os << c.name;
}

class TableLayouts : public testing::TestWithParam<LayoutCase> {};

TEST_P(TableLayouts, HaveTheirFieldsInOrderWithTheirSizes) {
    const RecordTable table = GetParam().make();
    EXPECT_EQ(table.name(), GetParam().name);
    EXPECT_FALSE(table.isOpen());
    std::vector<std::pair<QString, int>> fields;
    for (const FieldDef& field : table.fields()) {
        fields.emplace_back(field.name, field.size);
    }
    EXPECT_EQ(fields, GetParam().fields);
}

INSTANTIATE_TEST_SUITE_P(Cases, TableLayouts,
                         testing::Values(LayoutCase{"mtService",
                                                    journal::makeServiceTable,
                                                    {{"Id", 20},
                                                     {"MachineTitle", 255},
                                                     {"WorkshopTitle", 255},
                                                     {"Description", 1000},
                                                     {"Repairman", 1000},
                                                     {"TimeStart", 20},
                                                     {"TimeFinish", 20}}},
                                         LayoutCase{"mtMachine",
                                                    journal::makeMachineTable,
                                                    {{"Id", 20},
                                                     {"Title", 255},
                                                     {"Description", 1000},
                                                     {"Inventory", 20},
                                                     {"TitleWorkshop", 255},
                                                     {"AtCreate", 20},
                                                     {"AtUpdate", 20}}},
                                         LayoutCase{"mtWorkshop",
                                                    journal::makeWorkshopTable,
                                                    {{"Id", 20},
                                                     {"Title", 255},
                                                     {"Description", 1000},
                                                     {"AtConstruct", 20},
                                                     {"AtCreate", 20},
                                                     {"AtUpdate", 20}}},
                                         LayoutCase{"mtRepairman",
                                                    journal::makeRepairmanTable,
                                                    {{"Id", 20},
                                                     {"Surname", 255},
                                                     {"Name", 255},
                                                     {"Patronymic", 255},
                                                     {"Profession", 255},
                                                     {"AtCreate", 20},
                                                     {"AtUpdate", 20}}}));

class SmallTable : public testing::Test {
protected:
    void SetUp() override { fTable.open(); }

    void appendRow(std::optional<QString> code) {
        fTable.append();
        fTable.setField(0, std::move(code));
        fTable.post();
    }

    RecordTable fTable{"mtSmall", {{"Code", 4}, {"Note", 20}}};
};

struct CutCase {
    const char* name;
    QString written;
    QString stored;
};

// Names the case in test names and failure messages.
void PrintTo(const CutCase& c, std::ostream* os) {
    *os << c.name;
}

class FieldSizes : public SmallTable, public testing::WithParamInterface<CutCase> {};

TEST_P(FieldSizes, CountCharactersAndCutLongerTexts) {
    appendRow(GetParam().written);
    EXPECT_EQ(fTable.text(0, 0), GetParam().stored);
}

INSTANTIATE_TEST_SUITE_P(Cases, FieldSizes,
                         testing::Values(CutCase{"Fits", "abcd", "abcd"}, CutCase{"Longer", "abcdef", "abcd"},
                                         CutCase{"CyrillicCountsPerLetter", "Щётка", "Щётк"},
                                         CutCase{"PairCountsOnce", "ab😀c", "ab😀c"},
                                         CutCase{"PairNeverSplit", "abc😀", "abc😀"},
                                         CutCase{"PairBeyondTheSize", "abcd😀", "abcd"},
                                         CutCase{"AnyUnicodeKept", "中文✓", "中文✓"}));

TEST_F(SmallTable, KeepsEmptyApartFromTheEmptyText) {
    appendRow(std::nullopt);
    appendRow(QString(""));
    EXPECT_TRUE(fTable.isNull(0, 0));
    EXPECT_FALSE(fTable.isNull(1, 0));
    EXPECT_EQ(fTable.text(0, 0), "");
    EXPECT_TRUE(fTable.isNull(1, 1)); // a field never set stays empty
}

TEST_F(SmallTable, PostedRowBecomesCurrentAndFirstMovesBack) {
    appendRow("1");
    appendRow("2");
    EXPECT_EQ(fTable.fieldText("Code"), "2");
    fTable.first();
    EXPECT_EQ(fTable.currentRow(), 0);
    EXPECT_EQ(fTable.fieldText("Code"), "1");
}

TEST_F(SmallTable, EmptyingLeavesItOpenWithNoRow) {
    appendRow("1");
    fTable.emptyTable();
    EXPECT_TRUE(fTable.isOpen());
    EXPECT_EQ(fTable.rowCount(), 0);
    EXPECT_EQ(fTable.currentRow(), -1);
    EXPECT_EQ(fTable.fieldText("Code"), ""); // how windows see "no row selected"
    fTable.first();
    EXPECT_EQ(fTable.currentRow(), -1);
}

TEST(RecordTable, ClosedTableHasNoRowsAndTakesNone) {
    RecordTable table = journal::makeServiceTable();
    EXPECT_EQ(table.rowCount(), 0);
    EXPECT_EQ(table.fieldText("Id"), "");
    EXPECT_THROW(table.append(), std::logic_error);
    EXPECT_THROW(table.fieldText("NoSuchField"), std::invalid_argument);
}

} // namespace
