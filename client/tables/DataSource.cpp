#include "DataSource.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QTableView>
#include <algorithm>

namespace journal {

DataSource::DataSource(RecordTable& table, std::vector<GridColumn> columns, QObject* parent)
    : QAbstractTableModel(parent)
    , fTable(table)
    , fColumns(std::move(columns)) {
    for (const GridColumn& column : fColumns) {
        fFieldIndexes.push_back(fTable.fieldIndex(column.field));
    }
    fTable.setObserver(this);
}

DataSource::~DataSource() {
    fTable.setObserver(nullptr);
}

void DataSource::bindGrid(QTableView* grid) {
    fGrid = grid;
    grid->setModel(this);
    for (int column = 0; column < columnCount(); ++column) {
        grid->setColumnWidth(column, fColumns[static_cast<std::size_t>(column)].width);
    }
    connect(grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this](const QModelIndex& current) {
        if (current.isValid()) {
            fTable.setCurrentRow(current.row());
        }
    });
    currentRowChanged(fTable.currentRow());
}

int DataSource::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : fTable.rowCount();
}

int DataSource::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(fColumns.size());
}

QVariant DataSource::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || role != Qt::DisplayRole) {
        return {};
    }
    const int field = fFieldIndexes[static_cast<std::size_t>(index.column())];
    return field < 0 ? QVariant() : QVariant(fTable.text(index.row(), field));
}

QVariant DataSource::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) {
        return {};
    }
    if (orientation == Qt::Horizontal) {
        return fColumns.at(static_cast<std::size_t>(section)).title;
    }
    // The row indicator: an arrow on the current row, nothing on the others.
    return section == fTable.currentRow() ? QStringLiteral("▶") : QString();
}

void DataSource::tableAboutToChange() {
    beginResetModel();
}

void DataSource::tableChanged() {
    endResetModel();
    currentRowChanged(fTable.currentRow());
}

void DataSource::currentRowChanged(int row) {
    if (rowCount() > 0) {
        emit headerDataChanged(Qt::Vertical, 0, rowCount() - 1);
    }
    if (fGrid == nullptr || row < 0) {
        return;
    }
    const int column = std::max(fGrid->currentIndex().column(), 0);
    fGrid->setCurrentIndex(index(row, column));
}

} // namespace journal
