#pragma once

#include "JsonText.h"
#include "TypeAction.h"

#include <QDate>
#include <QString>
#include <array>
#include <optional>
#include <string>
#include <vector>

// What the three directory record editors differ in, and the commands they build: plain data, so the
// editors' windows stay thin and the commands can be checked without a window.
namespace journal {

// Where a value of an editor comes from (OK) or goes to (editData).
enum class Slot {
    RecordId, // the record's own id: "0" for a new one
    Edit1,    // the one-line inputs, as typed
    Edit2,
    Edit3,
    Edit4,
    Description, // the memo
    Workshop,    // the machine's workshop: its id on OK, its title in editData
    Date,        // the date picker
};

struct EditorMode {
    QString caption;
    std::string command;
};

struct EditorMember {
    std::string name;
    Slot slot;
};

struct EditorKind {
    EditorMode add;
    EditorMode edit;
    EditorMode view;                   // its command is never sent: OK only closes
    std::vector<EditorMember> members; // after "command", in the order the server expects
    std::vector<Slot> handedOver;      // editData's parameters, in the order the directory reads its row
    bool clearsInUpAction;             // the show step clears every editor
    bool locksMemoInView;
};

// What the inputs hold when OK is pressed.
struct EditorValues {
    QString recordId;
    std::array<QString, 4> edits;
    QString description; // already joined from the memo's lines
    QString workshopId;
    QDate date;
};

// The mode's caption and command; none for the modes the directory editors do not act on.
const EditorMode* modeOf(const EditorKind& kind, TTypeAction typeAction);
QString okCaption(TTypeAction typeAction);

// The save or edit command: "command" first, then the kind's members, every value a string.
Json editorCommand(const EditorKind& kind, const std::string& actionCommand, const EditorValues& values);

// A workshop's construction date as its directory lists it: a date in the regional short format,
// optionally followed by a time in the regional long format. None when it cannot be read.
std::optional<QDate> readConstructionDate(const QString& text);

// Shown when a construction date cannot be read and the picker falls back to today.
QString unreadableDateMessage(const QString& text);

} // namespace journal
