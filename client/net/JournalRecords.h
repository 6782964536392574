#pragma once

#include "AnswerValue.h"
#include "DescriptionText.h"
#include "JsonText.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <QTime>
#include <optional>
#include <string>
#include <variant>
#include <vector>

// The journal's records as its windows read them from answers and send them back.
namespace journal {

// The value of "ids_repairman_service": compact JSON text of {"ids_repairman":[ids...]}.
std::string idsRepairmanText(const std::vector<QString>& ids);

struct DateAndTime {
    QDate date;
    QTime time;
};

// What the journal record editor sends on OK.
struct ServiceSave {
    QString recordId;    // "0" for a new record
    std::string command; // "save_service" or "edit_service"
    QString machineId;
    QString description; // already joined
    std::vector<QString> repairmanIds;
    DateAndTime start;
    std::optional<DateAndTime> finish; // none: the finish members are left out
};

// The command object in the order the server expects: "id_service" before "command".
Json serviceSaveCommand(const ServiceSave& save);

// The record to edit, read from a "uid" object. Throws UnusableAnswer when a member is missing,
// "Repairman" is not an array, or a date or time cannot be read in the regional formats.
struct ServiceRecord {
    QString uid;           // trimmed
    QString machine;       // as sent: matched exactly against the machine titles
    QString description;   // trimmed
    QStringList repairmen; // each trimmed
    DateAndTime start;
    std::optional<DateAndTime> finish; // none when "DateFinish" reads "null"
};
ServiceRecord readServiceRecord(const AnswerValue& uid);

// A record as the details window shows it, read from a "view" object. Throws UnusableAnswer
// when a member is missing or "Repairman" is not an array.
struct ServiceView {
    QString machine;
    QString description;   // trimmed
    QStringList repairmen; // each trimmed
    QString start;         // "DateStart TimeStart" as sent
    QString finish;        // "DateFinish TimeFinish" as sent; empty when "DateFinish" reads "null"
};
ServiceView readServiceView(const AnswerValue& view);

// What an answer to any of the journal's commands asks of the journal window, decided from its
// members alone: the first of "list", "uid" and "view" that it holds, else the journal in "data".
struct JournalLists {
    std::optional<AnswerValue> repairmen; // none when absent
    std::optional<AnswerValue> machines;
};
struct RecordToEdit {
    AnswerValue record; // the "uid" object
};
struct RecordToView {
    AnswerValue record; // the "view" object
};
struct JournalRows {
    std::optional<AnswerValue> list; // "data"; none when absent
};
using JournalAnswer = std::variant<JournalLists, RecordToEdit, RecordToView, JournalRows>;

// Throws UnusableAnswer when the member that decides holds another kind of value.
JournalAnswer readJournalAnswer(const AnswerValue& answer);

} // namespace journal
