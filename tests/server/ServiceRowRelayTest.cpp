#include "protocol/ServiceRowRelay.h"

#include <gtest/gtest.h>
#include <stdexcept>

namespace journal::protocol {
namespace {

using storage::RecordId;
using storage::ServiceRow;

constexpr int rowCount = 10000;

std::string descriptionOf(int i) {
    return "Запись " + std::to_string(i);
}

// Reads `rowCount` rows whose texts and crew live in buffers the next row overwrites, as the database's do.
// Throws at row `failAt`, if there is one.
std::function<void(const ServiceRowVisitor&)> reading(int& read, int failAt = -1) {
    return [&read, failAt](const ServiceRowVisitor& visit) {
        std::string description, title;
        std::vector<RecordId> crew;
        for (int i = 0; i < rowCount; ++i) {
            if (i == failAt)
                throw std::runtime_error("read");
            description = descriptionOf(i);
            title = "Станок " + std::to_string(i % 7);
            crew.assign(static_cast<std::size_t>(i % 3), i);
            ServiceRow row;
            row.id = i;
            row.description = description;
            row.machineTitle = title;
            row.workshopTitle = title;
            row.start = {{2024, 1 + i % 12, 1}, {8, 0, 0}};
            row.repairmanIds = crew;
            visit(row);
            ++read;
        }
    };
}

// Every row comes through whole and in order, with texts and a crew of its own.
TEST(ServiceRowRelay, WritesEveryRowWholeInTheOrderRead) {
    int read = 0;
    int written = 0;
    relayServiceRows(reading(read), [&](const ServiceRow& row) {
        ASSERT_EQ(row.id, written);
        ASSERT_EQ(row.description, descriptionOf(written));
        ASSERT_EQ(row.machineTitle, "Станок " + std::to_string(written % 7));
        ASSERT_EQ(row.start.date.month, 1 + written % 12);
        ASSERT_EQ(row.repairmanIds.size(), static_cast<std::size_t>(written % 3));
        for (const RecordId id : row.repairmanIds)
            ASSERT_EQ(id, written);
        ++written;
    });

    EXPECT_EQ(written, rowCount);
}

struct FailureCase {
    const char* name;
    int readFailsAt;  // -1: never
    int writeFailsAt; // -1: never
    const char* failure;
    int written;
};

void PrintTo(const FailureCase& c, std::ostream* os) {
    *os << c.name;
}

class RelayFailure : public ::testing::TestWithParam<FailureCase> {};

// A failed reading comes out once every row read before it was written; a failed writing stops the reading and
// comes out instead of whatever the reading would have done.
TEST_P(RelayFailure, ComesOutAfterTheRowsBeforeIt) {
    const FailureCase& failure = GetParam();
    int read = 0;
    int written = 0;
    try {
        relayServiceRows(reading(read, failure.readFailsAt), [&](const ServiceRow&) {
            if (written == failure.writeFailsAt)
                throw std::runtime_error("write");
            ++written;
        });
        ADD_FAILURE() << "nothing came out";
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(), failure.failure);
    }

    EXPECT_EQ(written, failure.written);
    EXPECT_LT(read, rowCount) << "the reading went on to the end";
}

INSTANTIATE_TEST_SUITE_P(Cases, RelayFailure,
                         ::testing::Values(FailureCase{"ReadingFails", 6000, -1, "read", 6000},
                                           FailureCase{"ReadingFailsAtOnce", 0, -1, "read", 0},
                                           FailureCase{"WritingFails", -1, 700, "write", 700},
                                           FailureCase{"WritingFailsBeforeTheReadingWould", 9000, 700, "write", 700}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace journal::protocol
