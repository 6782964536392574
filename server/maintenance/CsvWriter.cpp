#include "maintenance/CsvWriter.h"

namespace journal::maintenance {
namespace {

// A spreadsheet takes a field starting with one of these for a formula; the apostrophe keeps it text.
bool readsAsFormula(const std::string& text) {
    return !text.empty() && std::string_view("=+-@\t\r").find(text.front()) != std::string_view::npos;
}

struct FieldText {
    std::string operator()(std::monostate) const { return {}; }
    std::string operator()(const std::string& text) const { return readsAsFormula(text) ? "'" + text : text; }
    std::string operator()(std::int64_t number) const { return std::to_string(number); }
    std::string operator()(Hours hours) const { return hoursText(hours, ','); }
};

void writeRow(std::ostream& out, const std::vector<std::string>& fields) {
    std::string line;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        line += i == 0 ? "\"" : ";\"";
        for (const char c : fields[i])
            line += c == '"' ? std::string_view("\"\"") : std::string_view(&c, 1);
        line += '"';
    }
    line += "\r\n";
    out << line;
}

} // namespace

void writeCsv(const std::vector<Sheet>& sheets, std::ostream& out) {
    out << "\xEF\xBB\xBF";
    for (std::size_t i = 0; i < sheets.size(); ++i) {
        if (i > 0)
            out << "\r\n";
        writeRow(out, sheets[i].header);
        for (const std::vector<Cell>& row : sheets[i].rows) {
            std::vector<std::string> fields;
            fields.reserve(row.size());
            for (const Cell& cell : row)
                fields.push_back(std::visit(FieldText{}, cell));
            writeRow(out, fields);
        }
    }
}

} // namespace journal::maintenance
