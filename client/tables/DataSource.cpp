#include "DataSource.h"

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

int DataSource::columnWidth(int column) const {
    return fColumns.at(static_cast<std::size_t>(column)).width;
}

void DataSource::setCurrentRow(int row) {
    fTable.setCurrentRow(row);
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
    if (row >= 0) {
        emit currentRowMoved(row);
    }
}

} // namespace journal
