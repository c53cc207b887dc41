// Failures carry a fixed, user-visible message (Shift-JIS) and end the running handler.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

class Error : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A property or operation used in a way the component does not allow.
class InvalidOperation : public Error {
public:
    using Error::Error;
};

// The text of an error box: the message, followed by "." when its last byte sorts after
// the full stop. A Japanese message always ends in a byte above 0x2E, so it always gets one.
std::string WithFullStop(std::string_view message);

// The pattern with its one "%s" replaced by arg (messages such as "%s に書き込めません").
std::string FormatMessageText(std::string_view pattern, std::string_view arg);
