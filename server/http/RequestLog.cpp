#include "http/RequestLog.h"

#include "text/DateTimeFormat.h"

#include <cstdio>
#include <string>

namespace journal::http {

void logRequest(std::string_view command, std::string_view outcome, std::chrono::steady_clock::duration took) {
    const auto milliseconds = std::chrono::duration_cast<std::chrono::milliseconds>(took).count();
    std::string line = toIso(currentUtc()) + " UTC " + std::string(command.empty() ? "-" : command) + ' ' +
                       std::string(outcome) + ' ' + std::to_string(milliseconds) + " ms\n";
    // One write per line keeps lines of parallel requests whole.
    std::fwrite(line.data(), 1, line.size(), stderr);
}

} // namespace journal::http
