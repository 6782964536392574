// Any answer body as the client reads it: the channel's outcome, and any list member loaded into each
// of the four tables. The outcomes the client allows are a refusal, a success handed over, nothing,
// or a failed exchange, which the code under test signals with std::runtime_error; any other
// exception or a sanitizer report is a fault. The answer reader must also accept exactly what the JSON
// library's parser accepts, and read the same values.
#include "AnswerReading.h"
#include "JsonLoad.h"
#include "JsonText.h"
#include "RecordTable.h"

#include <QList>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

namespace {

using journal::Json;
using journal::RecordTable;

// A field never holds more characters than its size, counted as the user sees them.
void checkSizes(const RecordTable& table) {
    for (int row = 0; row < table.rowCount(); ++row) {
        for (std::size_t field = 0; field < table.fields().size(); ++field) {
            const QString text = table.text(row, static_cast<int>(field));
            if (text.toUcs4().size() > table.fields()[field].size || (!text.isEmpty() && text.back().isHighSurrogate()))
                std::abort();
        }
    }
}

void checkSameReadingAsTheJsonLibrary(const std::string& body) {
    std::optional<Json> expected;
    try {
        // The library takes a NUL byte for the end of its input and would ignore what follows; no answer may
        // hold one.
        if (body.find('\0') == std::string::npos)
            expected = journal::parseJson(body);
    } catch (const std::runtime_error&) {
    }
    std::optional<Json> read;
    try {
        read = journal::parseJson(simdjson::to_string(journal::parseAnswer(body).element()));
    } catch (const std::runtime_error&) {
    }
    if (expected != read)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static RecordTable tables[] = {journal::makeServiceTable(), journal::makeMachineTable(),
                                   journal::makeWorkshopTable(), journal::makeRepairmanTable()};
    const std::string body(reinterpret_cast<const char*>(data), size);
    checkSameReadingAsTheJsonLibrary(body);
    journal::ChannelAnswer answer;
    try {
        answer = journal::readAnswerBody(body);
    } catch (const std::runtime_error&) {
        return 0; // a failed exchange
    }
    if (!answer.success)
        return 0;
    for (RecordTable& table : tables) {
        for (const char* path : {"data", "data.machine", "data.workshop", "list.machine", "list.repairman"}) {
            try {
                journal::reloadTable(table, journal::findPath(*answer.success, path));
            } catch (const std::runtime_error&) {
            }
            checkSizes(table);
        }
    }
    return 0;
}
