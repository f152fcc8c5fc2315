#pragma once
// Type-checked formatting in the class library's style, for formats that a
// dictionary may supply ("Loading %s...", "COM%d"):
//   %[index:][-][width][.precision]type
// with the types d (signed), u (unsigned), x (hex), s (text), f (fixed),
// e (scientific), g (general), n (fixed with thousand separators) and %%.
// A format that is malformed, names a missing argument or does not match the
// argument's type raises EConvertError; it never reads past the arguments.
#include "Exception.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

class FormatArg {
public:
    enum class Kind { Signed, Unsigned, Float, Text };

    FormatArg(int v)
        : FKind(Kind::Signed)
        , FSigned(v)
    {
    }
    FormatArg(long v)
        : FKind(Kind::Signed)
        , FSigned(v)
    {
    }
    FormatArg(long long v)
        : FKind(Kind::Signed)
        , FSigned(v)
    {
    }
    FormatArg(unsigned v)
        : FKind(Kind::Unsigned)
        , FUnsigned(v)
    {
    }
    FormatArg(unsigned long v)
        : FKind(Kind::Unsigned)
        , FUnsigned(v)
    {
    }
    FormatArg(unsigned long long v)
        : FKind(Kind::Unsigned)
        , FUnsigned(v)
    {
    }
    FormatArg(double v)
        : FKind(Kind::Float)
        , FFloat(v)
    {
    }
    FormatArg(float v)
        : FKind(Kind::Float)
        , FFloat(v)
    {
    }
    FormatArg(char v)
        : FKind(Kind::Text)
        , FText(1, v)
    {
    }
    FormatArg(const char* v)
        : FKind(Kind::Text)
        , FText(v ? v : "")
    {
    }
    FormatArg(std::string v)
        : FKind(Kind::Text)
        , FText(std::move(v))
    {
    }
    FormatArg(std::string_view v)
        : FKind(Kind::Text)
        , FText(v)
    {
    }
    // A bool is neither a number nor a text here: refuse it at compile time.
    FormatArg(bool) = delete;

    Kind GetKind() const { return FKind; }
    int64_t Signed() const { return FSigned; }
    uint64_t Unsigned() const { return FUnsigned; }
    double Float() const { return FFloat; }
    const std::string& Text() const { return FText; }

private:
    Kind FKind;
    int64_t FSigned = 0;
    uint64_t FUnsigned = 0;
    double FFloat = 0;
    std::string FText;
};

std::string FormatList(std::string_view format, const std::vector<FormatArg>& args);

template <class... Args> std::string Format(std::string_view format, const Args&... args)
{
    return FormatList(format, std::vector<FormatArg> { FormatArg(args)... });
}

} // namespace platform
