#include "DirectoryCommands.h"

namespace journal {

Json listCommand(const DirectoryKind& kind) {
    return Json{{"command", kind.listCommand}};
}

Json searchCommand(const DirectoryKind& kind, const QString& search) {
    return Json{{"command", kind.searchCommand}, {"search", search.toStdString()}};
}

Json sortCommand(const DirectoryKind& kind, const char* field, const char* path) {
    return Json{{"command", kind.sortCommand}, {"field", field}, {"path", path}};
}

Json deleteCommand(const DirectoryKind& kind, const QString& id) {
    return Json{{"command", kind.deleteCommand}, {"id", id.toStdString()}};
}

QString deleteQuestion(const DirectoryKind& kind, const QString& name) {
    return kind.deletePrefix + name + u'?';
}

} // namespace journal
