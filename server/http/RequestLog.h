#pragma once

#include <chrono>
#include <string_view>

namespace journal::http {

// One stderr line per request: UTC time, command, outcome, milliseconds. Never the key or the body.
void logRequest(std::string_view command, std::string_view outcome, std::chrono::steady_clock::duration took);

} // namespace journal::http
