#pragma once
// Failures carry a fixed English message (already translated where the caller
// says so); the application's exception handler shows it in an error box.
#include <exception>
#include <string>

class Exception : public std::exception {
public:
    explicit Exception(std::string message) : FMessage(std::move(message)) {}
    const std::string& Message() const noexcept { return FMessage; }
    const char* what() const noexcept override { return FMessage.c_str(); }

private:
    std::string FMessage;
};

// Raised by numeric conversions of texts (the class library's EConvertError).
class EConvertError : public Exception {
public:
    using Exception::Exception;
};
