#pragma once

#include <QString>

// The error message box: caption "Ошибка", error icon, one OK button. Blocks its caller until
// the user closes it, yet disables none of the program's windows. With isCloseProg the process
// then ends at once with exit code 0.
class TErrorMessageServer final {
public:
    static void View(const QString& message, bool isCloseProg);
    [[noreturn]] static void ViewAndExit(const QString& message); // View(message, true)
};

inline const QString kServerUnavailableMessage = QStringLiteral("Сервер не доступен, программа будет закрыта!");
