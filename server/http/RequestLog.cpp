#include "http/RequestLog.h"

#include "text/DateTimeFormat.h"

#include <cstdio>
#include <string>

namespace journal::http {
namespace {

// One write per line keeps lines of parallel requests whole.
void writeLine(std::string_view command, std::string_view text) {
    std::string line =
        toIso(currentUtc()) + " UTC " + std::string(command.empty() ? "-" : command) + ' ' + std::string(text) + '\n';
    std::fwrite(line.data(), 1, line.size(), stderr);
}

} // namespace

void logRequest(std::string_view command, std::string_view outcome, std::chrono::steady_clock::duration took) {
    const auto milliseconds = std::chrono::duration_cast<std::chrono::milliseconds>(took).count();
    writeLine(command, std::string(outcome) + ' ' + std::to_string(milliseconds) + " ms");
}

void logFault(std::string_view command, std::string_view what) {
    std::string text = "fault: ";
    for (const char c : what)
        text += c == '\n' || c == '\r' || c == '\t' ? ' ' : c;
    while (text.ends_with(' '))
        text.pop_back();
    writeLine(command, text);
}

} // namespace journal::http
