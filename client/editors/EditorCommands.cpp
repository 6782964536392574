#include "EditorCommands.h"

#include "RegionalFormats.h"

namespace journal {
namespace {

QString slotText(Slot slot, const EditorValues& values) {
    switch (slot) {
    case Slot::RecordId:
        return values.recordId;
    case Slot::Edit1:
    case Slot::Edit2:
    case Slot::Edit3:
    case Slot::Edit4:
        return values.edits[static_cast<std::size_t>(slot) - static_cast<std::size_t>(Slot::Edit1)];
    case Slot::Description:
        return values.description;
    case Slot::Workshop:
        return values.workshopId;
    case Slot::Date:
        return RegionalFormats::dateText(values.date);
    }
    return {};
}

} // namespace

const EditorMode* modeOf(const EditorKind& kind, TTypeAction typeAction) {
    switch (typeAction) {
    case TTypeAction::ADD:
        return &kind.add;
    case TTypeAction::EDIT:
        return &kind.edit;
    case TTypeAction::VIEW:
        return &kind.view;
    default:
        return nullptr;
    }
}

QString okCaption(TTypeAction typeAction) {
    switch (typeAction) {
    case TTypeAction::ADD:
        return QStringLiteral("Сохранить");
    case TTypeAction::EDIT:
        return QStringLiteral("Редактировать");
    default:
        return QStringLiteral("Ок");
    }
}

Json editorCommand(const EditorKind& kind, const std::string& actionCommand, const EditorValues& values) {
    Json command{{"command", actionCommand}};
    for (const EditorMember& member : kind.members)
        command[member.name] = slotText(member.slot, values).toStdString();
    return command;
}

std::optional<QDate> readConstructionDate(const QString& text) {
    const QString trimmed = text.trimmed();
    if (const QDate date = RegionalFormats::parseDate(trimmed); date.isValid())
        return date;
    // A date and a time: try each blank as the border, as either format may hold blanks itself.
    for (qsizetype border = trimmed.indexOf(u' '); border > 0; border = trimmed.indexOf(u' ', border + 1)) {
        const QDate date = RegionalFormats::parseDate(trimmed.left(border));
        if (date.isValid() && RegionalFormats::parseTime(trimmed.mid(border + 1)).isValid())
            return date;
    }
    return std::nullopt;
}

QString unreadableDateMessage(const QString& text) {
    return QStringLiteral("Дата постройки корпуса «%1» не распознана: выбрана сегодняшняя дата.").arg(text);
}

} // namespace journal
