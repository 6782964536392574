#pragma once

#include <chrono>
#include <string_view>

namespace journal::http {

// One stderr line per request: UTC time, command, outcome, milliseconds. Never the key or the body.
void logRequest(std::string_view command, std::string_view outcome, std::chrono::steady_clock::duration took);

// One stderr line per internal fault: UTC time, command, "fault:" and what went wrong, line breaks made spaces.
void logFault(std::string_view command, std::string_view what);

} // namespace journal::http
