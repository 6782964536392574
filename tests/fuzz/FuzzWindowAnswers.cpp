// Any successful answer as the windows carry it out: the journal window's dispatch with the records it
// reads and the journal it reloads. A failed exchange is signalled with std::runtime_error; any other
// exception or a sanitizer report is a fault.
#include "Dispatch.h"
#include "JournalRecords.h"
#include "JsonLoad.h"
#include "RecordTable.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

using journal::Json;

void dispatchAsTheJournal(const Json& answer) {
    static journal::RecordTable mtService = journal::makeServiceTable();
    journal::JournalAnswer read = journal::readJournalAnswer(answer);
    std::visit(journal::Dispatch{[](const journal::JournalLists& lists) {
                                     if ((lists.machines && !lists.machines->is_array()) ||
                                         (lists.repairmen && !lists.repairmen->is_array()))
                                         std::abort();
                                 },
                                 [](const journal::RecordToEdit& edit) { journal::readServiceRecord(*edit.record); },
                                 [](const journal::RecordToView& view) { journal::readServiceView(*view.record); },
                                 [](const journal::JournalRows& rows) { journal::reloadTable(mtService, rows.list); }},
               read);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Json answer;
    try {
        answer = journal::parseJson(std::string_view(reinterpret_cast<const char*>(data), size));
    } catch (const std::runtime_error&) {
        return 0;
    }
    try {
        dispatchAsTheJournal(answer);
    } catch (const std::runtime_error&) {
    }
    return 0;
}
