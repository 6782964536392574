// Any successful answer as the windows carry it out: the journal window's dispatch with the records it
// reads and the journal it reloads, and each directory's steps: the machines directory's workshop list
// (as the machine editor offers it) and the list that refills the directory's table. A failed exchange is signalled
// with std::runtime_error; any other exception or a sanitizer report is a fault.
#include "AnswerReading.h"
#include "ChoiceList.h"
#include "Dispatch.h"
#include "JournalRecords.h"
#include "JsonLoad.h"
#include "RecordTable.h"
#include "Unit2.h"
#include "Unit4.h"
#include "Unit6.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

using journal::AnswerValue;

void dispatchAsTheJournal(const AnswerValue& answer) {
    static journal::RecordTable mtService = journal::makeServiceTable();
    journal::JournalAnswer read = journal::readJournalAnswer(answer);
    std::visit(journal::Dispatch{[](const journal::JournalLists& lists) {
                                     if ((lists.machines && !lists.machines->isArray()) ||
                                         (lists.repairmen && !lists.repairmen->isArray()))
                                         std::abort();
                                 },
                                 [](const journal::RecordToEdit& edit) { journal::readServiceRecord(edit.record); },
                                 [](const journal::RecordToView& view) { journal::readServiceView(view.record); },
                                 [](const journal::JournalRows& rows) { journal::reloadTable(mtService, rows.list); }},
               read);
}

struct Directory {
    const journal::DirectoryKind& kind;
    bool keepsWorkshops;
    journal::RecordTable table = kind.makeTable();
};

void answerAsADirectory(Directory& directory, const AnswerValue& answer) {
    if (directory.keepsWorkshops) {
        const journal::ChoiceList workshops(journal::arrayAt(answer, "data.workshop"), "Title");
        for (int i = 0; i < workshops.size(); ++i)
            (void)workshops.idAt(i);
    }
    journal::reloadTable(directory.table, journal::findPath(answer, directory.kind.listMember));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    AnswerValue answer;
    try {
        answer = journal::parseAnswer(std::string(reinterpret_cast<const char*>(data), size));
    } catch (const std::runtime_error&) {
        return 0;
    }
    try {
        dispatchAsTheJournal(answer);
    } catch (const std::runtime_error&) {
    }
    static Directory directories[] = {
        {machinesDirectory(), true}, {workshopsDirectory(), false}, {repairmenDirectory(), false}};
    for (Directory& directory : directories) {
        try {
            answerAsADirectory(directory, answer);
        } catch (const std::runtime_error&) {
        }
    }
    return 0;
}
