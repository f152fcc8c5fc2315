#pragma once
// Failures carry a fixed English message; the application's error box
// translates it once when it shows it. A message that had to be translated
// where it was raised (a formatted text, which the dictionary knows only by
// its format) says so, and is shown as it is. An optional detail (a file or
// device name, the system's reason) is shown on a line of its own below the
// message and is never translated.
#include <exception>
#include <string>

class Exception : public std::exception {
public:
    explicit Exception(std::string message, std::string detail = {})
        : FMessage(std::move(message))
        , FDetail(std::move(detail))
        , FWhat(FDetail.empty() ? FMessage : FMessage + "\n" + FDetail)
    {
    }
    static Exception Translated(std::string message, std::string detail = {})
    {
        Exception e(std::move(message), std::move(detail));
        e.FTranslated = true;
        return e;
    }
    const std::string& Message() const noexcept { return FMessage; }
    const std::string& Detail() const noexcept { return FDetail; }
    bool IsTranslated() const noexcept { return FTranslated; }
    // The same failure with `detail` as its detail line(s), below any it had.
    Exception WithDetail(const std::string& detail) const
    {
        Exception e(FMessage, FDetail.empty() ? detail : FDetail + "\n" + detail);
        e.FTranslated = FTranslated;
        return e;
    }
    const char* what() const noexcept override { return FWhat.c_str(); }

private:
    std::string FMessage;
    std::string FDetail;
    std::string FWhat;
    bool FTranslated = false;
};

// Raised by numeric conversions of texts (the class library's EConvertError).
class EConvertError : public Exception {
public:
    using Exception::Exception;
};
