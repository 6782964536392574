#include "JournalRecords.h"

#include "AnswerReading.h"
#include "RegionalFormats.h"
#include "WireFormat.h"

namespace journal {
namespace {

const QString kNull = QStringLiteral("null");

QStringList trimmedTexts(const AnswerValue& record, std::string_view name) {
    const AnswerValue list = requiredMember(record, name);
    if (!list.isArray())
        throw UnusableAnswer("the record's " + std::string(name) + " is not a list");
    QStringList texts;
    const simdjson::dom::array elements = list.element().get_array().value_unsafe();
    for (const simdjson::dom::element element : elements)
        texts << trimBlanks(textOf(element));
    return texts;
}

DateAndTime readDateAndTime(const AnswerValue& record, std::string_view dateMember, std::string_view timeMember) {
    const QString dateText = requiredText(record, dateMember);
    const QString timeText = requiredText(record, timeMember);
    DateAndTime read{RegionalFormats::parseDate(dateText), RegionalFormats::parseTime(timeText)};
    if (!read.date.isValid() || !read.time.isValid())
        throw UnusableAnswer("the record's date or time cannot be read: " + dateText.toStdString() + " " +
                             timeText.toStdString());
    return read;
}

} // namespace

std::string idsRepairmanText(const std::vector<QString>& ids) {
    Json list = Json::array();
    for (const QString& id : ids)
        list.push_back(id.toStdString());
    return wireJson(Json{{"ids_repairman", std::move(list)}});
}

Json serviceSaveCommand(const ServiceSave& save) {
    Json command{
        {"id_service", save.recordId.toStdString()},
        {"command", save.command},
        {"id_machine_service", save.machineId.toStdString()},
        {"description_service", save.description.toStdString()},
        {"ids_repairman_service", idsRepairmanText(save.repairmanIds)},
        {"start_date_service", RegionalFormats::dateText(save.start.date).toStdString()},
        {"start_time_service", RegionalFormats::timeText(save.start.time).toStdString()},
    };
    if (save.finish) {
        command["finish_date_service"] = RegionalFormats::dateText(save.finish->date).toStdString();
        command["finish_time_service"] = RegionalFormats::timeText(save.finish->time).toStdString();
    }
    return command;
}

ServiceRecord readServiceRecord(const AnswerValue& uid) {
    ServiceRecord record;
    record.uid = trimBlanks(requiredText(uid, "Uid"));
    record.machine = requiredText(uid, "Machine");
    record.description = trimBlanks(requiredText(uid, "Description"));
    record.repairmen = trimmedTexts(uid, "Repairman");
    record.start = readDateAndTime(uid, "DateStart", "TimeStart");
    if (requiredText(uid, "DateFinish") != kNull)
        record.finish = readDateAndTime(uid, "DateFinish", "TimeFinish");
    return record;
}

ServiceView readServiceView(const AnswerValue& view) {
    ServiceView shown;
    shown.machine = requiredText(view, "Machine");
    shown.description = trimBlanks(requiredText(view, "Description"));
    shown.repairmen = trimmedTexts(view, "Repairman");
    shown.start = requiredText(view, "DateStart") + u' ' + requiredText(view, "TimeStart");
    const QString dateFinish = requiredText(view, "DateFinish");
    if (dateFinish != kNull)
        shown.finish = dateFinish + u' ' + requiredText(view, "TimeFinish");
    return shown;
}

JournalAnswer readJournalAnswer(const AnswerValue& answer) {
    if (answer.member("list"))
        return JournalLists{arrayAt(answer, "list.repairman"), arrayAt(answer, "list.machine")};
    if (answer.member("uid"))
        return RecordToEdit{objectAt(answer, "uid")};
    if (answer.member("view"))
        return RecordToView{objectAt(answer, "view")};
    return JournalRows{answer.member("data")};
}

} // namespace journal
