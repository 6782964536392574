#include <QApplication>
#include <gtest/gtest.h>
#include <optional>

// The main of every client test program: widgets need an application object, and death
// tests must re-run the program rather than fork it (a forked child hangs on the display).
int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    // Listing the tests (ctest's discovery) needs no display.
    std::optional<QApplication> application;
    if (!GTEST_FLAG_GET(list_tests)) {
        application.emplace(argc, argv);
    }
    return RUN_ALL_TESTS();
}
