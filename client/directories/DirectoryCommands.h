#pragma once

#include "DataSource.h"
#include "JsonText.h"
#include "RecordTable.h"

#include <QString>
#include <string>
#include <vector>

// What the three directory windows differ in, and the commands they send: plain data, so the
// windows stay thin and the commands can be checked without a window.
namespace journal {

// One item of the grid's sort menu: the menu item's name, the column expression and the direction.
struct SortItem {
    const char* item;
    const char* field;
    const char* path;
};

struct DirectoryKind {
    std::string listCommand;
    std::string searchCommand;
    std::string sortCommand;
    std::string deleteCommand;
    std::string listMember; // the answer's list that fills the table
    RecordTable (*makeTable)();
    std::vector<GridColumn> columns;
    std::vector<QString> handedOver; // the row's fields for the editor's editData, in order
    QString nameField;               // the field the delete question names
    QString deletePrefix;
    std::vector<SortItem> sortItems;
};

Json listCommand(const DirectoryKind& kind);
Json searchCommand(const DirectoryKind& kind, const QString& search);
Json sortCommand(const DirectoryKind& kind, const char* field, const char* path);
Json deleteCommand(const DirectoryKind& kind, const QString& id);

// The search is sent only from this many characters (UTF-16 code units, blanks included).
inline constexpr qsizetype kShortestSearch = 3;

// The delete question: the prefix, the name as read, untrimmed and unquoted, and "?".
QString deleteQuestion(const DirectoryKind& kind, const QString& name);

} // namespace journal
