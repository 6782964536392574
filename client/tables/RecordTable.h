#pragma once

#include <QString>
#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

namespace journal {

struct FieldDef {
    QString name;
    int size = 20; // in characters
};

// An in-memory table of named, sized text fields. A field is empty (null) or holds a text
// of at most its size; a longer text is cut. Rows keep the order in which they were posted.
// A field may refer to UTF-8 text kept elsewhere (an answer the table keeps alive): it becomes a QString only
// when read, so a large list costs little more than the answer it came in.
class RecordTable final {
public:
    RecordTable(QString name, std::vector<FieldDef> fields);

    const QString& name() const { return fName; }
    const std::vector<FieldDef>& fields() const { return fFields; }
    int fieldIndex(const QString& fieldName) const; // -1 when unknown

    bool isOpen() const { return fOpen; }
    void open();       // an empty table, ready to load
    void emptyTable(); // removes every row, stays open

    void reserveRows(int rows); // room for that many rows in all, so a large load grows the table once
    void append();              // new row with empty fields
    void setField(int field, std::optional<QString> value); // on the appended row
    // Refers to valid UTF-8 that `keepAlive` keeps until the table is emptied.
    void setFieldUtf8(int field, std::string_view utf8);
    void keepAlive(std::shared_ptr<const void> owner);
    void post();  // the appended row becomes final and current
    void first(); // cursor to the first row

    int rowCount() const;
    int currentRow() const { return fCurrent; } // -1 when there is no row
    void setCurrentRow(int row);

    // Text of a field of the current row; the empty text when there is no row or the field is empty.
    QString fieldText(const QString& fieldName) const;
    QString text(int row, int field) const;
    bool isNull(int row, int field) const;

    // Notified after any change of rows, so a data source can refresh its grid.
    struct Observer {
        virtual void tableAboutToChange() = 0;
        virtual void tableChanged() = 0;
        virtual void currentRowChanged(int row) = 0;

    protected:
        ~Observer() = default;
    };
    void setObserver(Observer* observer) { fObserver = observer; }

    // Changes made while a batch is alive reach the observer once, when the last batch ends,
    // so a grid is not redrawn for every row of a large load.
    class Batch final {
    public:
        explicit Batch(RecordTable& table);
        ~Batch();
        Batch(const Batch&) = delete;
        Batch& operator=(const Batch&) = delete;

    private:
        RecordTable& fTable;
    };

private:
    void rowsAboutToChange();
    void rowsChanged();
    void requireOpen() const;
    // Empty, a text of fOwned, or UTF-8 text kept alive by one of fOwners.
    struct Cell {
        const char* utf8 = nullptr;
        std::uint32_t bytes = 0;
        std::int32_t owned = -1;
        bool isNull() const { return utf8 == nullptr && owned < 0; }
    };
    Cell& pendingCell(int field);
    const Cell& cell(int row, int field) const;

    QString fName;
    std::vector<FieldDef> fFields;
    std::vector<Cell> fCells; // row after row
    std::vector<Cell> fPending;
    bool fHasPending = false;
    std::vector<QString> fOwned;
    std::vector<std::shared_ptr<const void>> fOwners;
    int fCurrent = -1;
    bool fOpen = false;
    Observer* fObserver = nullptr;
    int fBatchDepth = 0;
    bool fBatchAnnounced = false;
};

// The four tables of the record kinds, closed as created.
RecordTable makeServiceTable();   // mtService
RecordTable makeMachineTable();   // mtMachine
RecordTable makeWorkshopTable();  // mtWorkshop
RecordTable makeRepairmanTable(); // mtRepairman

} // namespace journal
