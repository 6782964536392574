// Writes the program's icon as the PNG files of the hicolor theme: DIR/NxN/apps/repair-journal.png for each size N.
// It draws through programIcon(), so the menu shows exactly the icon of the program's windows.
#include "ProgramLook.h"

#include <QDir>
#include <QGuiApplication>
#include <QPixmap>
#include <iostream>

int main(int argc, char* argv[]) {
    const QGuiApplication application(argc, argv);
    const QStringList arguments = QGuiApplication::arguments();
    if (arguments.size() < 3) {
        std::cerr << "usage: render-icons DIR SIZE...\n";
        return 2;
    }
    const QIcon icon = journal::programIcon();
    for (const QString& argument : arguments.mid(2)) {
        bool isNumber = false;
        const int side = argument.toInt(&isNumber);
        const QPixmap pixmap = icon.pixmap(side);
        const QString folder = QStringLiteral("%1/%2x%2/apps").arg(arguments.at(1)).arg(side);
        const QString file = folder + QStringLiteral("/repair-journal.png");
        if (!isNumber || pixmap.width() != side || pixmap.height() != side || !QDir().mkpath(folder) ||
            !pixmap.save(file, "PNG")) {
            std::cerr << "render-icons: cannot write the " << argument.toStdString() << " pixel icon to "
                      << file.toStdString() << '\n';
            return 1;
        }
    }
    return 0;
}
