#include "RecordTable.h"

#include <stdexcept>
#include <utility>

namespace journal {
namespace {

// Sizes count characters, so a pair of UTF-16 surrogates counts once and is never split.
QString cutToCharacters(QString text, int size) {
    if (text.size() <= size) {
        return text;
    }
    qsizetype units = 0;
    for (int characters = 0; characters < size && units < text.size(); ++characters) {
        const bool pair = text[units].isHighSurrogate() && units + 1 < text.size() && text[units + 1].isLowSurrogate();
        units += pair ? 2 : 1;
    }
    text.truncate(units);
    return text;
}

} // namespace

RecordTable::RecordTable(QString name, std::vector<FieldDef> fields)
    : fName(std::move(name))
    , fFields(std::move(fields)) {}

int RecordTable::fieldIndex(const QString& fieldName) const {
    for (std::size_t i = 0; i < fFields.size(); ++i) {
        if (fFields[i].name == fieldName) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

void RecordTable::open() {
    if (fOpen) {
        return;
    }
    rowsAboutToChange();
    fOpen = true;
    rowsChanged();
}

void RecordTable::emptyTable() {
    requireOpen();
    rowsAboutToChange();
    fRows.clear();
    fPending.reset();
    fCurrent = -1;
    rowsChanged();
}

void RecordTable::append() {
    requireOpen();
    if (fPending) {
        post();
    }
    fPending.emplace(fFields.size());
}

void RecordTable::setField(int field, std::optional<QString> value) {
    auto& row = pendingRow();
    const int size = fFields.at(static_cast<std::size_t>(field)).size;
    row.at(static_cast<std::size_t>(field)) = value ? std::optional(cutToCharacters(std::move(*value), size)) : value;
}

void RecordTable::post() {
    auto& row = pendingRow();
    rowsAboutToChange();
    fRows.push_back(std::move(row));
    fPending.reset();
    fCurrent = static_cast<int>(fRows.size()) - 1;
    rowsChanged();
}

void RecordTable::first() {
    setCurrentRow(fRows.empty() ? -1 : 0);
}

int RecordTable::rowCount() const {
    return static_cast<int>(fRows.size());
}

void RecordTable::setCurrentRow(int row) {
    if (row < -1 || row >= rowCount()) {
        throw std::out_of_range("row out of range");
    }
    if (row == fCurrent) {
        return;
    }
    fCurrent = row;
    if (fObserver != nullptr && fBatchDepth == 0) {
        fObserver->currentRowChanged(row);
    }
}

QString RecordTable::fieldText(const QString& fieldName) const {
    const int field = fieldIndex(fieldName);
    if (field < 0) {
        throw std::invalid_argument("no field " + fieldName.toStdString() + " in " + fName.toStdString());
    }
    return fCurrent < 0 ? QString() : text(fCurrent, field);
}

QString RecordTable::text(int row, int field) const {
    return fRows.at(static_cast<std::size_t>(row)).at(static_cast<std::size_t>(field)).value_or(QString());
}

bool RecordTable::isNull(int row, int field) const {
    return !fRows.at(static_cast<std::size_t>(row)).at(static_cast<std::size_t>(field)).has_value();
}

RecordTable::Batch::Batch(RecordTable& table)
    : fTable(table) {
    ++fTable.fBatchDepth;
}

RecordTable::Batch::~Batch() {
    if (--fTable.fBatchDepth == 0 && std::exchange(fTable.fBatchAnnounced, false)) {
        fTable.rowsChanged();
    }
}

void RecordTable::rowsAboutToChange() {
    if (fObserver == nullptr || fBatchAnnounced) {
        return;
    }
    fObserver->tableAboutToChange();
    fBatchAnnounced = fBatchDepth > 0;
}

void RecordTable::rowsChanged() {
    if (fObserver != nullptr && fBatchDepth == 0) {
        fObserver->tableChanged();
    }
}

void RecordTable::requireOpen() const {
    if (!fOpen) {
        throw std::logic_error(fName.toStdString() + " is closed");
    }
}

std::vector<std::optional<QString>>& RecordTable::pendingRow() {
    if (!fPending) {
        throw std::logic_error(fName.toStdString() + " has no appended row");
    }
    return *fPending;
}

RecordTable makeServiceTable() {
    return RecordTable(QStringLiteral("mtService"), {{"Id", 20},
                                                     {"MachineTitle", 255},
                                                     {"WorkshopTitle", 255},
                                                     {"Description", 1000},
                                                     {"Repairman", 1000},
                                                     {"TimeStart", 20},
                                                     {"TimeFinish", 20}});
}

RecordTable makeMachineTable() {
    return RecordTable(QStringLiteral("mtMachine"), {{"Id", 20},
                                                     {"Title", 255},
                                                     {"Description", 1000},
                                                     {"Inventory", 20},
                                                     {"TitleWorkshop", 255},
                                                     {"AtCreate", 20},
                                                     {"AtUpdate", 20}});
}

RecordTable makeWorkshopTable() {
    return RecordTable(
        QStringLiteral("mtWorkshop"),
        {{"Id", 20}, {"Title", 255}, {"Description", 1000}, {"AtConstruct", 20}, {"AtCreate", 20}, {"AtUpdate", 20}});
}

RecordTable makeRepairmanTable() {
    return RecordTable(QStringLiteral("mtRepairman"), {{"Id", 20},
                                                       {"Surname", 255},
                                                       {"Name", 255},
                                                       {"Patronymic", 255},
                                                       {"Profession", 255},
                                                       {"AtCreate", 20},
                                                       {"AtUpdate", 20}});
}

} // namespace journal
