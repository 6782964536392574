#include "maintenance/XlsxWriter.h"

#include "text/UnicodeText.h"

#include <algorithm>
#include <stdexcept>
#include <xlsxwriter.h>

namespace journal::maintenance {
namespace {

constexpr double widestColumn = 60;

class Workbook {
public:
    explicit Workbook(const std::filesystem::path& file) {
        // Rows go out in order, so the workbook need not keep them in memory.
        lxw_workbook_options options{};
        options.constant_memory = LXW_TRUE;
        workbook_ = workbook_new_opt(file.c_str(), &options);
        if (workbook_ == nullptr)
            throw std::runtime_error("cannot make the workbook " + file.string());
        bold_ = workbook_add_format(workbook_);
        format_set_bold(bold_);
        hours_ = workbook_add_format(workbook_);
        format_set_num_format(hours_, "0.00");
    }
    ~Workbook() {
        if (workbook_ != nullptr)
            workbook_close(workbook_);
    }
    Workbook(const Workbook&) = delete;
    Workbook& operator=(const Workbook&) = delete;

    void add(const Sheet& sheet) {
        lxw_worksheet* worksheet = workbook_add_worksheet(workbook_, sheet.title.c_str());
        if (worksheet == nullptr)
            throw std::runtime_error("cannot add the worksheet " + sheet.title);
        setColumnWidths(worksheet, sheet);
        for (std::size_t column = 0; column < sheet.header.size(); ++column)
            check(worksheet_write_string(worksheet, 0, static_cast<lxw_col_t>(column), sheet.header[column].c_str(),
                                         bold_));
        worksheet_freeze_panes(worksheet, 1, 0);
        for (std::size_t row = 0; row < sheet.rows.size(); ++row)
            for (std::size_t column = 0; column < sheet.rows[row].size(); ++column)
                write(worksheet, static_cast<lxw_row_t>(row + 1), static_cast<lxw_col_t>(column),
                      sheet.rows[row][column]);
    }

    void close() {
        const lxw_error error = workbook_close(workbook_);
        workbook_ = nullptr;
        check(error);
    }

private:
    static void check(lxw_error error) {
        if (error != LXW_NO_ERROR)
            throw std::runtime_error(std::string("cannot write the workbook: ") + lxw_strerror(error));
    }

    static void setColumnWidths(lxw_worksheet* worksheet, const Sheet& sheet) {
        for (std::size_t column = 0; column < sheet.header.size(); ++column) {
            std::size_t characters = characterCount(sheet.header[column]);
            for (const std::vector<Cell>& row : sheet.rows)
                if (const auto* text = std::get_if<std::string>(&row[column]))
                    characters = std::max(characters, characterCount(*text));
            worksheet_set_column(worksheet, static_cast<lxw_col_t>(column), static_cast<lxw_col_t>(column),
                                 std::min(widestColumn, static_cast<double>(characters) + 2), nullptr);
        }
    }

    void write(lxw_worksheet* worksheet, lxw_row_t row, lxw_col_t column, const Cell& cell) {
        if (const auto* text = std::get_if<std::string>(&cell))
            check(worksheet_write_string(worksheet, row, column, text->c_str(), nullptr));
        else if (const auto* number = std::get_if<std::int64_t>(&cell))
            check(worksheet_write_number(worksheet, row, column, static_cast<double>(*number), nullptr));
        else if (const auto* hours = std::get_if<Hours>(&cell))
            check(worksheet_write_number(worksheet, row, column, static_cast<double>(hours->seconds) / 3600, hours_));
    }

    lxw_workbook* workbook_ = nullptr;
    lxw_format* bold_ = nullptr;
    lxw_format* hours_ = nullptr;
};

} // namespace

void writeXlsx(const std::vector<Sheet>& sheets, const std::filesystem::path& file) {
    Workbook workbook(file);
    for (const Sheet& sheet : sheets)
        workbook.add(sheet);
    workbook.close();
}

} // namespace journal::maintenance
