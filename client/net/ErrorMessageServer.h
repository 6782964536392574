#pragma once

#include "MessageSink.h"

#include <QString>

// The error message box: caption "Ошибка", error icon, one OK button. Blocks its caller until
// the user closes it, yet disables none of the program's windows. With isCloseProg the process
// then ends at once with exit code 0.
class TErrorMessageServer final {
public:
    static void View(const QString& message, bool isCloseProg);
    [[noreturn]] static void ViewAndExit(const QString& message); // View(message, true)

    // Makes the request channel show its messages in this box.
    static void wireToChannel();
};

using journal::kServerUnavailableMessage;
