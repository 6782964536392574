#pragma once

#include "RecordTable.h"

#include <QAbstractTableModel>
#include <vector>

namespace journal {

struct GridColumn {
    QString field;
    QString title;
    int width;
};

// A record table as a grid's model: the chosen columns with their titles and widths, and the
// table's current row announced so that a grid can keep its highlighted row in step.
class DataSource final : public QAbstractTableModel, private RecordTable::Observer {
    Q_OBJECT
public:
    DataSource(RecordTable& table, std::vector<GridColumn> columns, QObject* parent);
    ~DataSource() override;

    int columnWidth(int column) const;
    void setCurrentRow(int row); // from the grid's highlighted row

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

signals:
    void currentRowMoved(int row); // the table moved its cursor to `row` (never -1)

private:
    void tableAboutToChange() override;
    void tableChanged() override;
    void currentRowChanged(int row) override;

    RecordTable& fTable;
    std::vector<GridColumn> fColumns;
    std::vector<int> fFieldIndexes;
};

} // namespace journal
