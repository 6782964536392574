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

// The same cut on UTF-8: the bytes of the first `size` characters.
std::uint32_t utf8BytesOfCharacters(std::string_view text, int size) {
    if (text.size() <= static_cast<std::size_t>(size)) {
        return static_cast<std::uint32_t>(text.size()); // never more characters than bytes
    }
    int characters = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool startsCharacter = (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80;
        if (startsCharacter && characters++ == size) {
            return static_cast<std::uint32_t>(i);
        }
    }
    return static_cast<std::uint32_t>(text.size());
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
    fCells.clear();
    fHasPending = false;
    fOwned.clear();
    fOwners.clear();
    fCurrent = -1;
    rowsChanged();
}

void RecordTable::reserveRows(int rows) {
    fCells.reserve(static_cast<std::size_t>(rows) * fFields.size());
}

void RecordTable::append() {
    requireOpen();
    if (fHasPending) {
        post();
    }
    fPending.assign(fFields.size(), Cell());
    fHasPending = true;
}

void RecordTable::setField(int field, std::optional<QString> value) {
    Cell& cell = pendingCell(field);
    cell = Cell();
    if (value) {
        cell.owned = static_cast<std::int32_t>(fOwned.size());
        fOwned.push_back(cutToCharacters(std::move(*value), fFields[static_cast<std::size_t>(field)].size));
    }
}

void RecordTable::setFieldUtf8(int field, std::string_view utf8) {
    Cell& cell = pendingCell(field);
    cell = Cell();
    cell.utf8 = utf8.data() != nullptr ? utf8.data() : "";
    cell.bytes = utf8BytesOfCharacters(utf8, fFields[static_cast<std::size_t>(field)].size);
}

void RecordTable::keepAlive(std::shared_ptr<const void> owner) {
    fOwners.push_back(std::move(owner));
}

void RecordTable::post() {
    if (!fHasPending) {
        throw std::logic_error(fName.toStdString() + " has no appended row");
    }
    rowsAboutToChange();
    fCells.insert(fCells.end(), fPending.begin(), fPending.end());
    fHasPending = false;
    fCurrent = rowCount() - 1;
    rowsChanged();
}

void RecordTable::first() {
    setCurrentRow(rowCount() == 0 ? -1 : 0);
}

int RecordTable::rowCount() const {
    return fFields.empty() ? 0 : static_cast<int>(fCells.size() / fFields.size());
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
    const Cell& shown = cell(row, field);
    if (shown.owned >= 0) {
        return fOwned[static_cast<std::size_t>(shown.owned)];
    }
    return shown.utf8 == nullptr ? QString() : QString::fromUtf8(shown.utf8, shown.bytes);
}

bool RecordTable::isNull(int row, int field) const {
    return cell(row, field).isNull();
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

RecordTable::Cell& RecordTable::pendingCell(int field) {
    if (!fHasPending) {
        throw std::logic_error(fName.toStdString() + " has no appended row");
    }
    return fPending.at(static_cast<std::size_t>(field));
}

const RecordTable::Cell& RecordTable::cell(int row, int field) const {
    if (row < 0 || row >= rowCount() || field < 0 || static_cast<std::size_t>(field) >= fFields.size()) {
        throw std::out_of_range("no such cell");
    }
    return fCells[static_cast<std::size_t>(row) * fFields.size() + static_cast<std::size_t>(field)];
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
