#include "ActivityIndicator.h"
#include "JournalFixture.h"
#include "Unit10.h"
#include "Unit11.h"
#include "Unit2.h"
#include "Unit3.h"
#include "Unit9.h"

#include <QEvent>
#include <QImage>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <ostream>
#include <vector>

namespace {

class JournalWindowTest : public JournalFixture {
protected:
    JournalWindowTest() {
        showJournal(kTwoRecords);
        // Opening a directory asks for its list; these tests leave it unanswered.
        journal::testing::Reply unanswered;
        unanswered.body = "{}";
        server.setDefaultReply(unanswered);
    }

    void activate(QWidget* widget) {
        widget->show();
        widget->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(widget));
    }
};

struct ShortcutCase {
    Qt::Key key;
    const char* shows;

    friend void PrintTo(const ShortcutCase& c, std::ostream* out) { *out << "Ctrl+" << char(c.key); }
};

class JournalShortcutTest : public JournalWindowTest, public ::testing::WithParamInterface<ShortcutCase> {};

TEST_P(JournalShortcutTest, CtrlShortcutActsFromAnotherActiveWindow) {
    activate(window<TForm11>());
    QTest::keyClick(window<TForm11>(), GetParam().key, Qt::ControlModifier);
    QTRY_VERIFY(form1->findChild<QWidget*>(GetParam().shows)->isVisible());
}

INSTANTIATE_TEST_SUITE_P(Keys, JournalShortcutTest,
                         ::testing::Values(ShortcutCase{Qt::Key_H, "TForm9"}, ShortcutCase{Qt::Key_O, "TForm10"}),
                         [](const auto& info) { return std::string(info.param.shows); });

TEST_F(JournalWindowTest, CtrlQFromAnotherWindowEndsTheProgramAtOnce) {
    EXPECT_EXIT(
        {
            activate(window<TForm9>());
            QTest::keyClick(window<TForm9>(), Qt::Key_Q, Qt::ControlModifier);
            QCoreApplication::processEvents();
            std::abort(); // not reached when the shortcut worked
        },
        ::testing::ExitedWithCode(0), "");
}

TEST_F(JournalWindowTest, ExitButtonEndsTheProgramWithCodeZero) {
    EXPECT_EXIT(QTest::mouseClick(child<QPushButton>("BitBtn8"), Qt::LeftButton);
                std::abort(), ::testing::ExitedWithCode(0), "");
}

// Records when windows close and show.
class EventLog final : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Close || event->type() == QEvent::Show)
            entries.push_back(watched->objectName() + (event->type() == QEvent::Close ? " closed" : " shown"));
        return false;
    }
    std::vector<QString> entries;
};

TEST_F(JournalWindowTest, CloseAndOpenDialogsClosesTheParentBeforeShowingTheChild) {
    auto* directory = window<TForm2>();
    auto* editor = window<TForm3>();
    directory->show();
    EventLog log;
    directory->installEventFilter(&log);
    editor->installEventFilter(&log);

    form1->closeAndOpenDialogs(directory, editor);

    EXPECT_EQ(log.entries, (std::vector<QString>{"TForm2 closed", "TForm3 shown"}));
    EXPECT_FALSE(directory->isVisible());
    EXPECT_TRUE(editor->isVisible());
}

TEST_F(JournalWindowTest, SecondaryWindowOpensCentredOverTheJournalAgainAfterBeingMoved) {
    auto* help = window<TForm9>();
    QTest::mouseClick(child<QPushButton>("BitBtn7"), Qt::LeftButton);
    ASSERT_TRUE(help->isVisible());
    help->move(form1->frameGeometry().topLeft() + QPoint(300, 200));
    help->close();
    ASSERT_FALSE(help->isVisible()) << "closing only hides";

    QTest::mouseClick(child<QPushButton>("BitBtn7"), Qt::LeftButton);
    const QPoint offset = help->frameGeometry().center() - form1->frameGeometry().center();
    EXPECT_LE(offset.manhattanLength(), 2);
}

TEST_F(JournalWindowTest, ClosingTheJournalEndsTheMessageLoopWithCodeZeroEvenWithOthersOpen) {
    QTest::mouseClick(child<QPushButton>("BitBtn7"), Qt::LeftButton);
    QTimer::singleShot(0, form1.get(), &QWidget::close);
    QTimer::singleShot(5000, qApp, [] { QCoreApplication::exit(1); }); // the loop did not end
    EXPECT_EQ(QApplication::exec(), 0);
}

struct OpeningCase {
    const char* trigger;
    const char* opens;

    friend void PrintTo(const OpeningCase& c, std::ostream* out) { *out << c.trigger << " opens " << c.opens; }
};

class JournalOpeningTest : public JournalWindowTest, public ::testing::WithParamInterface<OpeningCase> {};

TEST_P(JournalOpeningTest, TriggerOpensItsWindow) {
    if (auto* button = form1->findChild<QPushButton*>(GetParam().trigger))
        QTest::mouseClick(button, Qt::LeftButton);
    else
        child<QAction>(GetParam().trigger)->trigger();
    EXPECT_TRUE(form1->findChild<QWidget*>(GetParam().opens)->isVisible());
}

INSTANTIATE_TEST_SUITE_P(Triggers, JournalOpeningTest,
                         ::testing::Values(OpeningCase{"BitBtn1", "TForm2"}, OpeningCase{"N6", "TForm2"},
                                           OpeningCase{"BitBtn2", "TForm4"}, OpeningCase{"N7", "TForm4"},
                                           OpeningCase{"BitBtn3", "TForm6"}, OpeningCase{"N8", "TForm6"},
                                           OpeningCase{"BitBtn7", "TForm9"}, OpeningCase{"N12", "TForm9"},
                                           OpeningCase{"N13", "TForm10"}),
                         [](const auto& info) { return std::string(info.param.trigger); });

} // namespace

namespace {

bool drawsAnything(QWidget& widget) {
    QImage image(widget.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    widget.render(&image, {}, {}, QWidget::DrawChildren);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) != 0)
                return true;
    return false;
}

TEST(ActivityIndicatorTest, DrawsItsRingOnlyWhileAnimating) {
    QWidget parent;
    journal::ActivityIndicator indicator(&parent);
    indicator.resize(32, 32);
    EXPECT_TRUE(indicator.isAnimating());
    EXPECT_TRUE(drawsAnything(indicator));
    indicator.stop();
    EXPECT_FALSE(drawsAnything(indicator));
}

} // namespace
