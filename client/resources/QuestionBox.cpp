#include "QuestionBox.h"

#include <QMessageBox>

namespace journal {

bool confirmDeletion(QWidget* window, const QString& question) {
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Информация"), question, QMessageBox::Ok | QMessageBox::Cancel,
                    window);
    box.setDefaultButton(QMessageBox::Ok);
    box.setTextFormat(Qt::PlainText); // a record's name shows as typed, never as markup
    box.setWindowModality(Qt::WindowModal);
    return box.exec() == QMessageBox::Ok;
}

} // namespace journal
