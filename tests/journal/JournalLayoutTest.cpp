#include "JournalFixture.h"
#include "ProgramLook.h"

#include <QApplication>
#include <QGroupBox>
#include <QHeaderView>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <vector>

namespace {

class JournalLayoutTest : public JournalFixture {
protected:
    // The fixed sizes were laid out for Tahoma 8 pt: the checks below hold with the program's own look.
    static void SetUpTestSuite() {
        journal::applyProgramLook(*qobject_cast<QApplication*>(QCoreApplication::instance()));
    }
};

struct ControlCase {
    const char* name;
    QRect place;
    QString text;
    QString hint;
};

TEST_F(JournalLayoutTest, ControlsHaveTheirPlacesAndTexts) {
    const ControlCase cases[] = {
        {"GroupBox2", {8, 0, 333, 81}, "Действия", ""},        {"BitBtn4", {15, 20, 45, 45}, "", "Добавить"},
        {"BitBtn6", {144, 20, 45, 45}, "", "Удалить"},         {"BitBtn8", {272, 20, 45, 45}, "", "Выход"},
        {"GroupBox1", {349, 0, 470, 81}, "Справочники", ""},   {"BitBtn2", {168, 20, 135, 45}, "Цеха (корпуса)", ""},
        {"BitBtn3", {320, 20, 135, 45}, "Работник (рем)", ""}, {"DBGrid1", {8, 87, 811, 255}, "", ""},
        {"ActivityIndicator1", {395, 190, 32, 32}, "", ""},
    };
    for (const ControlCase& c : cases) {
        SCOPED_TRACE(c.name);
        const QWidget* control = child(c.name);
        EXPECT_EQ(control->geometry(), c.place);
        const QVariant text =
            control->property("text").isValid() ? control->property("text") : control->property("title");
        EXPECT_EQ(text.toString(), c.text);
        EXPECT_EQ(control->toolTip(), c.hint);
    }
}

TEST_F(JournalLayoutTest, JournalWindowHasAFixedClientAreaWithoutMaximiseBox) {
    EXPECT_EQ(form1->windowTitle(), "Ремонт оборудования");
    EXPECT_EQ(form1->centralWidget()->size(), QSize(827, 350));
    form1->adjustSize();
    EXPECT_EQ(form1->minimumSize(), form1->maximumSize());
    EXPECT_TRUE(form1->windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(form1->windowFlags() & Qt::WindowMaximizeButtonHint);
}

TEST_F(JournalLayoutTest, SecondaryWindowsHaveTheirCaptionsAndFixedSizes) {
    const struct {
        const char* name;
        QString caption;
        QSize size;
    } cases[] = {
        {"TForm2", "Справочник оборудования", {899, 350}},
        {"TForm3", "", {450, 350}},
        {"TForm4", "Справочник цехов (корпусов)", {776, 350}},
        {"TForm6", "Список обслуживающего персонала", {776, 350}},
        {"TForm8", "", {450, 439}},
        {"TForm9", "Справка", {450, 350}},
        {"TForm10", "О Программе", {335, 186}},
        {"TForm11", "Подробнее о записи", {450, 439}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QWidget* window = child(c.name);
        EXPECT_FALSE(window->isVisible());
        EXPECT_EQ(window->windowTitle(), c.caption);
        EXPECT_EQ(window->size(), c.size);
        EXPECT_EQ(window->minimumSize(), window->maximumSize());
        EXPECT_EQ(window->parentWidget(), form1.get()) << "owned by the main window: no task-bar button";
    }
}

TEST_F(JournalLayoutTest, GridShowsTheJournalColumnsReadOnlyByWholeRows) {
    const QTableView* table = grid();
    const struct {
        QString title;
        int width;
    } columns[] = {{"Id", 35},          {"Оборудование", 125},   {"Цех (корпус)", 125}, {"Описание", 130},
                   {"Ремонтники", 130}, {"Начало ремонта", 113}, {"Конец ремонта", 113}};
    ASSERT_EQ(table->model()->columnCount(), 7);
    for (int column = 0; column < 7; ++column) {
        EXPECT_EQ(table->model()->headerData(column, Qt::Horizontal).toString(), columns[column].title);
        EXPECT_EQ(table->columnWidth(column), columns[column].width);
    }
    EXPECT_EQ(table->selectionBehavior(), QAbstractItemView::SelectRows);
    EXPECT_EQ(table->editTriggers(), QAbstractItemView::NoEditTriggers);
    EXPECT_TRUE(table->verticalHeader()->isVisibleTo(table));
    EXPECT_TRUE(table->horizontalHeader()->font().bold());
    EXPECT_EQ(table->horizontalHeader()->sectionResizeMode(1), QHeaderView::Interactive);
}

TEST_F(JournalLayoutTest, ClickOnATitleChangesNeitherOrderNorRow) {
    showJournal(kTwoRecords);
    QHeaderView* titles = grid()->horizontalHeader();
    const QModelIndex before = grid()->currentIndex();
    QTest::mouseClick(titles->viewport(), Qt::LeftButton, {},
                      QPoint(titles->sectionViewportPosition(1) + 10, titles->height() / 2));
    EXPECT_EQ(gridText(0, 0), "1");
    EXPECT_EQ(grid()->currentIndex().row(), before.row());
    EXPECT_EQ(grid()->selectionModel()->selectedRows().size(), 1);
}

TEST_F(JournalLayoutTest, MenuItemsHaveTheirCaptionsAndApplicationWideShortcuts) {
    const struct {
        const char* name;
        QString caption;
        QString shortcut;
    } items[] = {
        {"N5", "Выход", "Ctrl+Q"},          {"N6", "Оборудование", ""},       {"N9", "Добавить", "Ctrl+A"},
        {"N10", "Редактировать", "Ctrl+E"}, {"N11", "Удалить", "Ctrl+D"},     {"N12", "Информация", "Ctrl+H"},
        {"N13", "О программе", "Ctrl+O"},   {"N14", "Показать подробно", ""}, {"N33", "С ранней даты", ""},
    };
    for (const auto& item : items) {
        SCOPED_TRACE(item.name);
        const QAction* action = child<QAction>(item.name);
        EXPECT_EQ(action->text(), item.caption);
        EXPECT_EQ(action->shortcut(), QKeySequence(item.shortcut));
        if (!item.shortcut.isEmpty()) {
            EXPECT_EQ(action->shortcutContext(), Qt::ApplicationShortcut);
        }
    }
    EXPECT_EQ(child<QMenu>("N15")->title(), "Сортировка полей");
    EXPECT_EQ(child<QMenu>("N15")->actions().size(), 6);
}

TEST_F(JournalLayoutTest, TabGoesThroughTheDirectoriesThenTheActionsThenTheGrid) {
    std::vector<QString> order;
    QWidget* widget = child("BitBtn1");
    do {
        if (widget->focusPolicy() & Qt::TabFocus)
            order.push_back(widget->objectName());
        widget = widget->nextInFocusChain();
    } while (widget != child("BitBtn1"));
    EXPECT_EQ(order, (std::vector<QString>{"BitBtn1", "BitBtn2", "BitBtn3", "BitBtn4", "BitBtn5", "BitBtn6", "BitBtn7",
                                           "BitBtn8", "DBGrid1"}));
}

TEST_F(JournalLayoutTest, NoCaptionIsCut) {
    for (const QPushButton* button : form1->findChildren<QPushButton*>()) {
        if (button->text().isEmpty())
            continue; // a picture alone: nothing to cut
        SCOPED_TRACE(button->objectName().toStdString());
        EXPECT_LE(button->sizeHint().width(), button->width());
        EXPECT_LE(button->sizeHint().height(), button->height());
    }
    for (const QGroupBox* box : form1->findChildren<QGroupBox*>()) {
        SCOPED_TRACE(box->objectName().toStdString());
        EXPECT_LE(box->fontMetrics().horizontalAdvance(box->title()) + 16, box->width());
    }
    const QHeaderView* titles = grid()->horizontalHeader();
    for (int column = 0; column < titles->count(); ++column) {
        SCOPED_TRACE(column);
        const QString title = grid()->model()->headerData(column, Qt::Horizontal).toString();
        EXPECT_LE(titles->fontMetrics().horizontalAdvance(title) + 8, titles->sectionSize(column));
    }
}

} // namespace
