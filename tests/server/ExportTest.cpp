#include "MaintenanceFixture.h"
#include "maintenance/CsvWriter.h"
#include "maintenance/ExportQuery.h"
#include "maintenance/ExportReport.h"
#include "maintenance/XlsxWriter.h"

#include <fstream>
#include <gmock/gmock.h>
#include <sstream>

namespace journal::testing {
namespace {

using maintenance::ExportPeriod;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

class ExportTest : public MaintenanceTest {
protected:
    ExportTest()
        : sql(openJournal(database))
        , store(*sql) {}

    std::vector<storage::RecordId> exportedIds(const ExportPeriod& period) {
        std::vector<storage::RecordId> ids;
        for (const auto& repair : maintenance::readJournal(*sql, period).repairs)
            ids.push_back(repair.id);
        return ids;
    }

    std::string csv(const ExportPeriod& period, const ServerFormats& formats = {"dd.MM.yyyy", "HH:mm:ss"}) {
        std::ostringstream out;
        maintenance::writeCsv(maintenance::journalReport(maintenance::readJournal(*sql, period), formats), out);
        return out.str();
    }

    std::unique_ptr<storage::SqliteConnection> sql;
    storage::JournalStore store;
};

const ExportPeriod march2024{{2024, 3, 1}, {2024, 3, 31}, std::nullopt};

TEST_F(ExportTest, PeriodHoldsTheRepairsStartedOnItsDaysOrderedByStart) {
    const auto lathe = addMachine(store, "Станок");
    const auto press = addMachine(store, "Пресс", "ПГ-3");
    const auto lastSecond = addRepair(store, lathe, "", "2024-03-31 23:59:59");
    addRepair(store, lathe, "", "2024-02-29 23:59:59", "2024-03-01 10:00:00");
    const auto firstSecond = addRepair(store, press, "", "2024-03-01 00:00:00");
    addRepair(store, press, "", "2024-04-01 00:00:00");
    const auto middle = addRepair(store, lathe, "", "2024-03-15 12:00:00", "2024-04-02 08:00:00");
    const auto sameStart = addRepair(store, press, "", "2024-03-15 12:00:00");

    EXPECT_THAT(exportedIds(march2024), ElementsAre(firstSecond, middle, sameStart, lastSecond));
    EXPECT_THAT(exportedIds({{2024, 3, 15}, {2024, 3, 15}, std::nullopt}), ElementsAre(middle, sameStart));
    EXPECT_THAT(exportedIds({{2024, 3, 1}, {2024, 3, 31}, press}), ElementsAre(firstSecond, sameStart));
    EXPECT_THAT(exportedIds({{2025, 1, 1}, {2025, 12, 31}, std::nullopt}), ElementsAre());
    EXPECT_THROW(exportedIds({{2024, 3, 1}, {2024, 3, 31}, 999}), std::runtime_error);
}

struct DurationCase {
    const char* what;
    const char* start;
    std::optional<const char*> finish;
    const char* hours;
};

class RepairDurationTest : public ::testing::TestWithParam<DurationCase> {};

TEST_P(RepairDurationTest, HoursAreTheWallTimeBetweenStartAndFinish) {
    const DurationCase& c = GetParam();
    const DateTime start = dateTimeFromIso(c.start).value();
    const auto finish = c.finish ? dateTimeFromIso(*c.finish) : std::nullopt;
    const auto seconds = maintenance::repairSeconds(start, finish);
    EXPECT_EQ(seconds ? maintenance::hoursText({*seconds}, ',') : "", c.hours) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RepairDurationTest,
    ::testing::Values(
        DurationCase{"within a day", "2024-03-10 08:00:00", "2024-03-10 09:30:00", "1,50"},
        DurationCase{"across midnight", "2024-03-10 22:00:00", "2024-03-11 01:30:00", "3,50"},
        DurationCase{"across a month end", "2024-01-31 20:00:00", "2024-02-01 08:00:00", "12,00"},
        DurationCase{"over a leap day", "2024-02-28 12:00:00", "2024-03-01 12:00:00", "48,00"},
        DurationCase{"over February of a common year", "2023-02-28 12:00:00", "2023-03-01 12:00:00", "24,00"},
        DurationCase{"across a year end", "2023-12-31 23:00:00", "2024-01-01 01:15:00", "2,25"},
        DurationCase{"a third of an hour, rounded", "2024-03-10 08:00:00", "2024-03-10 08:20:00", "0,33"},
        DurationCase{"a month of thirty-one days", "2024-07-01 00:00:00", "2024-08-01 00:00:00", "744,00"},
        DurationCase{"unfinished", "2024-03-10 08:00:00", std::nullopt, ""}));

struct TextCase {
    const char* what;
    const char* description;
    const char* field; // as the CSV holds it
};

class CsvTextTest : public ExportTest, public ::testing::WithParamInterface<TextCase> {};

TEST_P(CsvTextTest, DescriptionsAreQuotedWithDoubledQuotes) {
    const TextCase& c = GetParam();
    addRepair(store, addMachine(store, "Станок"), c.description, "2024-03-10 08:00:00");
    EXPECT_THAT(csv(march2024), HasSubstr(std::string(";\"Цех\";") + c.field + ";")) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CsvTextTest,
    ::testing::Values(TextCase{"a separator", "болт; гайка", "\"болт; гайка\""},
                      TextCase{"quotes", "ремень \"Б-50\"", "\"ремень \"\"Б-50\"\"\""},
                      TextCase{"line breaks", "снят\nзаменён\r\nпроверен", "\"снят\nзаменён\r\nпроверен\""},
                      TextCase{"Cyrillic with Ё", "Ёмкость — замена уплотнения №3",
                               "\"Ёмкость — замена уплотнения №3\""},
                      TextCase{"a formula", "=HYPERLINK(\"x\")", "\"'=HYPERLINK(\"\"x\"\")\""},
                      TextCase{"a leading minus", "-5 мм по оси", "\"'-5 мм по оси\""}, TextCase{"empty", "", "\"\""}));

TEST_F(ExportTest, CsvIsUtf8WithBomSemicolonsCrlfAndTheServersForms) {
    const auto lathe = addMachine(store, "Станок 16К20", "ТС-1", "Механический цех");
    const auto ivanov = addRepairman(store, "Иванов", "Пётр", "Ильич");
    const auto petrov = addRepairman(store, "Петров");
    addRepair(store, lathe, "Замена", "2024-03-10 22:00:00", "2024-03-11 01:30:00", {petrov, ivanov});
    addRepair(store, lathe, "Осмотр", "2024-03-12 08:05:09");

    EXPECT_EQ(csv(march2024, {"M/d/yyyy", "h:mm AP"}),
              "\xEF\xBB\xBF"
              "\"№\";\"Оборудование\";\"Инв. номер\";\"Цех\";\"Описание\";\"Ремонтники\";\"Начало\";\"Окончание\";"
              "\"Длительность, ч\"\r\n"
              "\"1\";\"Станок 16К20\";\"ТС-1\";\"Механический цех\";\"Замена\";\"Петров, Иванов Пётр Ильич\";"
              "\"3/10/2024 10:00 PM\";\"3/11/2024 1:30 AM\";\"3,50\"\r\n"
              "\"2\";\"Станок 16К20\";\"ТС-1\";\"Механический цех\";\"Осмотр\";\"\";\"3/12/2024 8:05 AM\";\"\";\"\"\r\n"
              "\r\n"
              "\"Оборудование\";\"Инв. номер\";\"Цех\";\"Ремонтов\";\"Из них не завершено\";\"Простой, ч\"\r\n"
              "\"Станок 16К20\";\"ТС-1\";\"Механический цех\";\"2\";\"1\";\"3,50\"\r\n"
              "\"Итого\";\"\";\"\";\"2\";\"1\";\"3,50\"\r\n");
}

TEST_F(ExportTest, DowntimeIsSummedPerMachineOverThePeriodInTheJournalsOrder) {
    const auto boiler = addMachine(store, "котёл", "К-1");
    const auto crane = addMachine(store, "Кран-балка", "КБ-1");
    const auto press = addMachine(store, "Аппарат", "А-1");
    addRepair(store, crane, "", "2024-03-01 08:00:00", "2024-03-01 10:15:00");
    addRepair(store, boiler, "", "2024-03-30 20:00:00", "2024-04-02 08:00:00");
    addRepair(store, crane, "", "2024-03-05 23:30:00", "2024-03-06 00:15:00");
    addRepair(store, crane, "", "2024-03-20 08:00:00");
    addRepair(store, press, "", "2024-02-28 08:00:00", "2024-03-02 08:00:00"); // started before the period

    const auto sheets = maintenance::journalReport(maintenance::readJournal(*sql, march2024), {"dd.MM.yyyy", "HH:mm"});
    ASSERT_EQ(sheets.size(), 2U);
    using maintenance::Cell;
    using maintenance::Hours;
    const auto row = [](const char* machine, const char* inventory, std::int64_t repairs, std::int64_t unfinished,
                        std::int64_t seconds) {
        return std::vector<Cell>{std::string(machine), std::string(inventory), std::string("Цех"), repairs,
                                 unfinished,           Hours{seconds}};
    };
    const auto& rows = sheets[1].rows;
    ASSERT_EQ(rows.size(), 3U);
    // Russian order ignoring case: "котёл" before "Кран-балка", which the order of bytes would put first.
    EXPECT_EQ(rows[0], row("котёл", "К-1", 1, 0, 60 * 3600));
    EXPECT_EQ(rows[1], row("Кран-балка", "КБ-1", 3, 1, 3 * 3600));
    EXPECT_EQ(rows[2], (std::vector<Cell>{std::string("Итого"), std::string(), std::string(), std::int64_t{4},
                                          std::int64_t{1}, Hours{63 * 3600}}));
}

TEST_F(ExportTest, XlsxIsAWorkbookFile) {
    addRepair(store, addMachine(store, "Станок"), "Замена\nремня", "2024-03-10 08:00:00", "2024-03-10 09:00:00");
    const auto file = folder / "journal.xlsx";
    maintenance::writeXlsx(
        maintenance::journalReport(maintenance::readJournal(*sql, march2024), {"dd.MM.yyyy", "HH:mm"}), file);
    std::ifstream in(file, std::ios::binary);
    std::string magic(4, '\0');
    in.read(magic.data(), 4);
    EXPECT_EQ(magic, std::string("PK\x03\x04", 4));
    EXPECT_THROW(maintenance::writeXlsx({}, folder / "missing-folder" / "journal.xlsx"), std::runtime_error);
}

} // namespace
} // namespace journal::testing
