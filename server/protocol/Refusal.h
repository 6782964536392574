#pragma once

#include <stdexcept>

namespace journal::protocol {

// A command the server will not carry out; the message is shown to the user as it stands.
class Refusal : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace journal::protocol
