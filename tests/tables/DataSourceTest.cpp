#include "DataSource.h"

#include "GridBinding.h"
#include "JsonLoad.h"
#include "QStringPrinter.h"

#include <QHeaderView>
#include <QMenu>
#include <QTableView>
#include <gtest/gtest.h>

namespace {

using journal::DataSource;
using journal::GridColumn;

class GridOverTable : public testing::Test {
protected:
    GridOverTable() {
        fTable.open();
        journal::bindGrid(fSource, &fGrid, &fMenu);
        fGrid.setSelectionBehavior(QAbstractItemView::SelectRows);
    }

    void load(const std::string& json) {
        fTable.emptyTable();
        fillFromJson(fTable, json);
    }

    QString cell(int row, int column) const { return fGrid.model()->index(row, column).data().toString(); }

    journal::RecordTable fTable = journal::makeServiceTable();
    QTableView fGrid;
    QMenu fMenu;
    DataSource fSource{fTable, {{"MachineTitle", "Оборудование", 120}, {"Id", "№", 40}}, nullptr};
};

TEST_F(GridOverTable, ShowsTheChosenColumnsWithTitlesAndWidths) {
    load(R"([{"Id":"1","MachineTitle":"Пресс"},{"Id":"2","MachineTitle":"Токарный"}])");
    ASSERT_EQ(fGrid.model()->columnCount(), 2);
    EXPECT_EQ(fGrid.model()->headerData(0, Qt::Horizontal).toString(), "Оборудование");
    EXPECT_EQ(fGrid.model()->headerData(1, Qt::Horizontal).toString(), "№");
    EXPECT_EQ(fGrid.columnWidth(0), 120);
    EXPECT_EQ(fGrid.columnWidth(1), 40);
    EXPECT_EQ(fGrid.model()->rowCount(), 2);
    EXPECT_EQ(cell(1, 0), "Токарный");
    EXPECT_EQ(cell(1, 1), "2");
}

TEST_F(GridOverTable, ReloadPutsBothOnTheFirstRow) {
    load(R"([{"Id":"1"},{"Id":"2"},{"Id":"3"}])");
    fGrid.setCurrentIndex(fGrid.model()->index(2, 0));
    load(R"([{"Id":"7"},{"Id":"8"}])");
    EXPECT_EQ(fGrid.model()->rowCount(), 2);
    EXPECT_EQ(fGrid.currentIndex().row(), 0);
    EXPECT_EQ(fTable.fieldText("Id"), "7");
}

TEST_F(GridOverTable, KeepsCurrentRowsInStepBothWays) {
    load(R"([{"Id":"1"},{"Id":"2"},{"Id":"3"}])");
    fGrid.setCurrentIndex(fGrid.model()->index(2, 1));
    EXPECT_EQ(fTable.fieldText("Id"), "3");

    fTable.setCurrentRow(1);
    EXPECT_EQ(fGrid.currentIndex().row(), 1);
    EXPECT_EQ(fGrid.model()->headerData(1, Qt::Vertical).toString(), "▶"); // the row indicator
    EXPECT_EQ(fGrid.model()->headerData(2, Qt::Vertical).toString(), "");
}

TEST_F(GridOverTable, EmptyTableLeavesNoRowSelected) {
    load(R"([{"Id":"1"}])");
    fTable.emptyTable();
    EXPECT_EQ(fGrid.model()->rowCount(), 0);
    EXPECT_FALSE(fGrid.currentIndex().isValid());
    EXPECT_EQ(fTable.fieldText("Id"), "");
}

} // namespace
