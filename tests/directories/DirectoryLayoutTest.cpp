#include "DirectoryEditor.h"
#include "DirectoryFixture.h"
#include "FamilyCases.h"
#include "ProgramLook.h"
#include "QStringPrinter.h"

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>

namespace {

class DirectoryLayoutTest : public DirectoryFixture {
protected:
    // The fixed places were laid out for Tahoma 8 pt: the checks hold with the program's own look.
    static void SetUpTestSuite() {
        journal::applyProgramLook(*qobject_cast<QApplication*>(QCoreApplication::instance()));
    }

    std::vector<QWidget*> windows() const {
        std::vector<QWidget*> all;
        for (const char* name : {"TForm2", "TForm3", "TForm4", "TForm5", "TForm6", "TForm7"})
            all.push_back(window(name));
        return all;
    }
};

TEST_F(DirectoryLayoutTest, ControlsHaveTheirPlacesTextsAndHints) {
    const struct {
        const char* window;
        const char* name;
        QRect place;
        QString text;
        QString hint;
    } controls[] = {
        {"TForm2", "GroupBox1", {10, 6, 430, 67}, "Действия", ""},
        {"TForm2", "BitBtn1", {17, 20, 120, 30}, "Добавить", ""},
        {"TForm2", "BitBtn2", {155, 20, 120, 30}, "Редактировать", ""},
        {"TForm2", "BitBtn3", {293, 20, 120, 30}, "Удалить", ""},
        {"TForm2", "GroupBox2", {446, 6, 443, 67}, "Поиск", ""},
        {"TForm2", "searchEditField", {17, 22, 224, 27}, "", ""},
        {"TForm2", "BitBtn4", {241, 21, 93, 29}, "Поиск", "Поиск"},
        {"TForm2", "BitBtn5", {333, 21, 93, 29}, "Сброс", "Очистить"},
        {"TForm2", "DBGrid1", {10, 79, 879, 258}, "", ""},
        {"TForm4", "GroupBox1", {10, 6, 430, 67}, "Действия", ""},
        {"TForm4", "BitBtn3", {293, 20, 120, 30}, "Удалить", ""},
        {"TForm4", "GroupBox2", {446, 6, 319, 67}, "Поиск", ""},
        {"TForm4", "searchEditField", {17, 22, 224, 27}, "", ""},
        {"TForm4", "BitBtn4", {241, 21, 30, 29}, "", "Поиск"},
        {"TForm4", "BitBtn5", {270, 21, 30, 29}, "", "Очистить"},
        {"TForm4", "DBGrid1", {10, 79, 755, 263}, "", ""},
        {"TForm6", "BitBtn1", {17, 20, 120, 30}, "Добавить", ""},
        {"TForm6", "GroupBox2", {446, 6, 319, 67}, "Поиск", ""},
        {"TForm6", "BitBtn4", {241, 21, 30, 29}, "", "Поиск"},
        {"TForm6", "BitBtn5", {270, 21, 30, 29}, "", "Очистить"},
        {"TForm6", "DBGrid1", {10, 79, 755, 263}, "", ""},
        {"TForm3", "Label1", {16, 28, 140, 13}, "Название оборудования:", ""},
        {"TForm3", "Edit1", {160, 25, 273, 21}, "", ""},
        {"TForm3", "Label2", {16, 114, 140, 13}, "Описание оборудования:", ""},
        {"TForm3", "Memo1", {160, 71, 273, 100}, "", ""},
        {"TForm3", "Label3", {16, 199, 140, 13}, "Инвентарный номер:", ""},
        {"TForm3", "Edit2", {160, 196, 273, 21}, "", ""},
        {"TForm3", "Label4", {16, 245, 140, 13}, "Расположение (корпус):", ""},
        {"TForm3", "ComboBox1", {160, 242, 273, 21}, "", ""},
        {"TForm3", "BitBtn1", {80, 288, 130, 25}, "", ""},
        {"TForm3", "BitBtn2", {240, 288, 130, 25}, "Отмена", ""},
        {"TForm5", "Label1", {16, 29, 140, 13}, "Название цеха:", ""},
        {"TForm5", "Edit1", {160, 26, 273, 21}, "", ""},
        {"TForm5", "Label2", {16, 120, 140, 13}, "Описание цеха:", ""},
        {"TForm5", "Memo1", {160, 69, 273, 124}, "", ""},
        {"TForm5", "Label3", {16, 220, 140, 13}, "Дата постройки корпуса:", ""},
        {"TForm5", "DateTimePicker1", {160, 217, 273, 21}, "", ""},
        {"TForm5", "BitBtn2", {240, 288, 130, 25}, "Отмена", ""},
        {"TForm7", "Label1", {16, 29, 140, 13}, "Фамилия:", ""},
        {"TForm7", "Edit1", {160, 26, 273, 21}, "", ""},
        {"TForm7", "Label2", {16, 77, 140, 13}, "Имя:", ""},
        {"TForm7", "Edit2", {160, 74, 273, 21}, "", ""},
        {"TForm7", "Label3", {16, 125, 140, 13}, "Отчество:", ""},
        {"TForm7", "Edit3", {160, 122, 273, 21}, "", ""},
        {"TForm7", "Label4", {16, 173, 140, 13}, "Профессия:", ""},
        {"TForm7", "Edit4", {160, 170, 273, 21}, "", ""},
        {"TForm7", "BitBtn1", {80, 288, 130, 25}, "", ""},
    };
    for (const auto& c : controls) {
        SCOPED_TRACE(std::string(c.window) + " " + c.name);
        const QWidget* control = child(window(c.window), c.name);
        EXPECT_EQ(control->geometry(), c.place);
        if (const auto* box = qobject_cast<const QGroupBox*>(control)) {
            EXPECT_EQ(box->title(), c.text);
        } else if (qobject_cast<const QAbstractButton*>(control) || qobject_cast<const QLabel*>(control)) {
            EXPECT_EQ(control->property("text").toString(), c.text);
        }
        EXPECT_EQ(control->toolTip(), c.hint);
    }
}

TEST_F(DirectoryLayoutTest, WindowsUseTahomaAndTheSearchFieldsTimesNewRoman) {
    for (QWidget* w : windows()) {
        SCOPED_TRACE(w->objectName().toStdString());
        EXPECT_EQ(w->font().family(), "Tahoma");
        EXPECT_EQ(w->font().pointSize(), 8);
        if (auto* search = w->findChild<QLineEdit*>("searchEditField")) {
            EXPECT_EQ(search->font().family(), "Times New Roman");
            EXPECT_EQ(search->font().pointSize(), 12);
            EXPECT_EQ(search->placeholderText(), "Поисковая фраза");
            EXPECT_NE(search->palette().color(QPalette::Base), QColor(Qt::white)) << "light grey";
        }
    }
}

TEST_F(DirectoryLayoutTest, TabGoesThroughTheActionsTheGridAndTheSearch) {
    const std::vector<QString> directory{"BitBtn1",         "BitBtn2", "BitBtn3", "DBGrid1",
                                         "searchEditField", "BitBtn4", "BitBtn5"};
    const struct {
        const char* window;
        std::vector<QString> order;
    } cases[] = {
        {"TForm2", directory},
        {"TForm4", directory},
        {"TForm6", directory},
        {"TForm3", {"Edit1", "Memo1", "Edit2", "BitBtn1", "BitBtn2", "ComboBox1"}},
        {"TForm5", {"Edit1", "Memo1", "DateTimePicker1", "BitBtn1", "BitBtn2"}},
        {"TForm7", {"Edit1", "Edit2", "Edit3", "Edit4", "BitBtn1", "BitBtn2"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.window);
        QWidget* first = child(window(c.window), qPrintable(c.order.front()));
        std::vector<QString> order;
        QWidget* widget = first;
        do {
            if ((widget->focusPolicy() & Qt::TabFocus) && !widget->objectName().startsWith("qt_"))
                order.push_back(widget->objectName());
            widget = widget->nextInFocusChain();
        } while (widget != first && order.size() < 20);
        EXPECT_EQ(order, c.order);
    }
}

TEST_F(DirectoryLayoutTest, GridsShowTheirColumnsReadOnlyByWholeRows) {
    const struct {
        const char* window;
        std::vector<std::pair<QString, int>> columns;
    } cases[] = {
        {"TForm2",
         {{"Id", 35},
          {"Название", 130},
          {"Описание", 160},
          {"Инвентарный номер", 124},
          {"Цех (корпус)", 130},
          {"Дата создания", 130},
          {"Дата изменения", 130}}},
        {"TForm4",
         {{"Id", 35},
          {"Название", 130},
          {"Описание", 160},
          {"Дата постройки", 130},
          {"Дата создания", 130},
          {"Дата изменения", 130}}},
        {"TForm6",
         {{"Id", 35},
          {"Фамилия", 110},
          {"Имя", 110},
          {"Отчество", 110},
          {"Профессия", 110},
          {"Дата создания", 120},
          {"Дата изменения", 120}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.window);
        const auto* grid = child<QTableView>(window(c.window), "DBGrid1");
        std::vector<std::pair<QString, int>> columns;
        for (int column = 0; column < grid->model()->columnCount(); ++column)
            columns.emplace_back(grid->model()->headerData(column, Qt::Horizontal).toString(),
                                 grid->columnWidth(column));
        EXPECT_EQ(columns, c.columns);
        EXPECT_EQ(grid->selectionBehavior(), QAbstractItemView::SelectRows);
        EXPECT_EQ(grid->editTriggers(), QAbstractItemView::NoEditTriggers);
        EXPECT_TRUE(grid->verticalHeader()->isVisibleTo(grid));
        EXPECT_EQ(grid->contextMenuPolicy(), Qt::CustomContextMenu);
    }
}

TEST_F(DirectoryLayoutTest, NoCaptionIsCut) {
    for (QWidget* w : windows()) {
        for (const QPushButton* button : w->findChildren<QPushButton*>()) {
            if (button->text().isEmpty())
                continue; // a picture alone: nothing to cut
            SCOPED_TRACE(button->objectName().toStdString());
            EXPECT_LE(button->sizeHint().width(), button->width());
        }
        for (const QGroupBox* box : w->findChildren<QGroupBox*>())
            EXPECT_LE(box->fontMetrics().horizontalAdvance(box->title()) + 16, box->width());
        for (const QLabel* label : w->findChildren<QLabel*>()) {
            EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), label->width())
                << label->text().toStdString();
        }
        if (const auto* grid = w->findChild<QTableView*>("DBGrid1")) {
            const QHeaderView* titles = grid->horizontalHeader();
            for (int column = 0; column < titles->count(); ++column) {
                const QString title = grid->model()->headerData(column, Qt::Horizontal).toString();
                EXPECT_LE(titles->fontMetrics().horizontalAdvance(title) + 8, titles->sectionSize(column))
                    << title.toStdString();
            }
        }
    }
}

// What a screen reader says: a name set for the control, or else a button's current caption.
QString spokenName(QWidget* control) {
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(control);
    return accessible != nullptr ? accessible->text(QAccessible::Name) : QString();
}

TEST_F(DirectoryLayoutTest, EveryControlHasAnAccessibleName) {
    for (QWidget* w : windows()) {
        // An editor is seen only in a mode, which gives OK its caption.
        if (auto* editor = qobject_cast<journal::DirectoryEditor*>(w))
            editor->upAction(TTypeAction::ADD);
        for (QWidget* control : w->findChildren<QWidget*>()) {
            const bool used = qobject_cast<QAbstractButton*>(control) || qobject_cast<QLineEdit*>(control) ||
                              qobject_cast<QPlainTextEdit*>(control) || qobject_cast<QComboBox*>(control) ||
                              qobject_cast<QAbstractSpinBox*>(control) || qobject_cast<QTableView*>(control);
            // The parts Qt builds inside a control have no name of the form's.
            if (!used || control->objectName().isEmpty() || control->objectName().startsWith("qt_"))
                continue;
            EXPECT_FALSE(spokenName(control).isEmpty())
                << w->objectName().toStdString() << " " << control->objectName().toStdString();
        }
    }
    EXPECT_EQ(spokenName(child(window("TForm4"), "BitBtn5")), "Очистить");
    EXPECT_EQ(spokenName(child(window("TForm6"), "DBGrid1")), "Список обслуживающего персонала");
    EXPECT_EQ(spokenName(child(window("TForm3"), "ComboBox1")), "Расположение (корпус)");
    EXPECT_EQ(spokenName(child(window("TForm5"), "DateTimePicker1")), "Дата постройки корпуса");
    auto* editor = qobject_cast<journal::DirectoryEditor*>(window("TForm7"));
    editor->upAction(TTypeAction::VIEW);
    EXPECT_EQ(spokenName(child(editor, "BitBtn1")), "Ок") << "the OK button says its caption of the mode";
}

TEST_F(DirectoryLayoutTest, OnlyTheEditorsOkIsADefaultButton) {
    for (QWidget* w : windows()) {
        const bool isEditor = w->findChild<QLineEdit*>("searchEditField") == nullptr;
        for (const QPushButton* button : w->findChildren<QPushButton*>()) {
            SCOPED_TRACE(w->objectName().toStdString() + " " + button->objectName().toStdString());
            EXPECT_EQ(button->isDefault(), isEditor && button->objectName() == "BitBtn1");
            EXPECT_FALSE(button->autoDefault());
        }
    }
}

} // namespace
