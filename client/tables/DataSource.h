#pragma once

#include "RecordTable.h"

#include <QAbstractTableModel>
#include <vector>

class QTableView;

namespace journal {

struct GridColumn {
    QString field;
    QString title;
    int width;
};

// Binds a record table to a grid: shows the chosen columns and keeps the table's current
// row and the grid's highlighted row in step, in both directions.
class DataSource final : public QAbstractTableModel, private RecordTable::Observer {
    Q_OBJECT
public:
    DataSource(RecordTable& table, std::vector<GridColumn> columns, QObject* parent);
    ~DataSource() override;

    void bindGrid(QTableView* grid); // sets the model, column widths and row tracking

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    void tableAboutToChange() override;
    void tableChanged() override;
    void currentRowChanged(int row) override;

    RecordTable& fTable;
    std::vector<GridColumn> fColumns;
    std::vector<int> fFieldIndexes;
    QTableView* fGrid = nullptr;
};

} // namespace journal
