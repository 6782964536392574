#include "ErrorMessageServer.h"
#include "MessageSink.h"

#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>
#include <optional>

namespace {

// The channel's messages in the real error box. A failed exchange ends the process with code 0,
// which ctest would count as a pass: outside a death test it ends with code 1 instead.
class TestMessageSink final : public journal::MessageSink {
public:
    void View(const QString& message, bool isCloseProg) override {
        TErrorMessageServer::View(message, false);
        if (!isCloseProg)
            return;
        if (GTEST_FLAG_GET(internal_run_death_test).empty()) {
            std::fprintf(stderr, "the program ended outside a death test: %s\n", qUtf8Printable(message));
            std::_Exit(1);
        }
        std::_Exit(0);
    }
};

} // namespace

// The main of every client test program: widgets need an application object, and death
// tests must re-run the program rather than fork it (a forked child hangs on the display).
int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    TestMessageSink sink;
    journal::setMessageSink(&sink);
    // Listing the tests (ctest's discovery) needs no display.
    std::optional<QApplication> application;
    if (!GTEST_FLAG_GET(list_tests)) {
        application.emplace(argc, argv);
    }
    return RUN_ALL_TESTS();
}
