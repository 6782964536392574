#pragma once

class QMenu;
class QTableView;

namespace journal {

class DataSource;

// Shows a data source in one of the program's read-only grids: its columns and widths, bold centred
// titles that do not sort, the row indicator, the grid's pop-up menu, and the grid's highlighted row
// kept in step with the table's current row both ways.
void bindGrid(DataSource& source, QTableView* grid, QMenu* popupMenu);

} // namespace journal
