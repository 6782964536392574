#include "ProgramLook.h"

#include <QApplication>
#include <QFile>
#include <QFont>
#include <QFontDatabase>
#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

namespace journal {
namespace {

// Wine's Tahoma carries Cyrillic but lies outside fontconfig's paths.
constexpr const char* kTahomaFile = "/usr/share/wine/fonts/tahoma.ttf";

} // namespace

QIcon programIcon() {
    QSvgRenderer renderer(QStringLiteral(":/pictures/app-icon.svg"));
    QIcon icon;
    for (int side : {16, 24, 32, 48, 64, 128, 256}) {
        QPixmap pixmap(side, side);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        renderer.render(&painter);
        icon.addPixmap(pixmap);
    }
    return icon;
}

void applyProgramLook(QApplication& application) {
    if (QFile::exists(QString::fromLatin1(kTahomaFile)))
        QFontDatabase::addApplicationFont(QString::fromLatin1(kTahomaFile));
    QFont font(QStringLiteral("Tahoma"), 8);
    font.setFamilies({QStringLiteral("Tahoma"), QStringLiteral("DejaVu Sans")});
    application.setFont(font);
    application.setWindowIcon(programIcon());
}

} // namespace journal
