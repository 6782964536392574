#include "GridBinding.h"

#include "DataSource.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QMenu>
#include <QTableView>
#include <algorithm>

namespace journal {
namespace {

void followTheTable(QTableView* grid, int row) {
    const int column = std::max(grid->currentIndex().column(), 0);
    grid->setCurrentIndex(grid->model()->index(row, column));
}

} // namespace

void bindGrid(DataSource& source, QTableView* grid, QMenu* popupMenu) {
    grid->setModel(&source);
    for (int column = 0; column < source.columnCount(); ++column)
        grid->setColumnWidth(column, source.columnWidth(column));
    QObject::connect(grid->selectionModel(), &QItemSelectionModel::currentRowChanged, &source,
                     [&source](const QModelIndex& current) {
                         if (current.isValid())
                             source.setCurrentRow(current.row());
                     });
    QObject::connect(&source, &DataSource::currentRowMoved, grid, [grid](int row) { followTheTable(grid, row); });

    QHeaderView* titles = grid->horizontalHeader();
    QFont bold = titles->font();
    bold.setBold(true);
    titles->setFont(bold);
    titles->setDefaultAlignment(Qt::AlignCenter);
    titles->setSectionResizeMode(QHeaderView::Interactive);
    // Clickable titles highlight under the mouse; with whole-row selection a click selects nothing.
    titles->setSectionsClickable(true);
    grid->verticalHeader()->setFixedWidth(12);

    QObject::connect(grid, &QWidget::customContextMenuRequested, popupMenu,
                     [grid, popupMenu](const QPoint& pos) { popupMenu->popup(grid->viewport()->mapToGlobal(pos)); });
}

} // namespace journal
