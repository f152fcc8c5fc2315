#pragma once
// Splitting one-character-separated texts into fields: language lists,
// comma-separated id lists and the lines of text dictionary files.
#include <string>
#include <string_view>

// Field-by-field reader over an 8-bit text.
class TIvStringParser {
public:
    TIvStringParser();
    TIvStringParser(const std::string& value, char separator);

    void SetValue(const std::string& value);
    bool Eol() const { return FPosition >= FEnd; }
    void RemoveWhiteSpaces();
    char TakeChar();
    char PeekChar() const;
    std::string GetCurrentValue() const;

    std::string GetString();
    char GetChar();
    char GetCharDef(char defaultValue);
    int GetInteger();
    int GetIntegerDef(int defaultValue);
    // Always with "." as the decimal separator, whatever the locale says.
    double GetFloat();
    double GetFloatDef(double defaultValue);
    bool GetBoolean();
    bool GetBooleanDef(bool defaultValue);

    // Fields that contain "#" are decoded when set.
    bool GetDecode() const { return FDecode; }
    void SetDecode(bool decode) { FDecode = decode; }
    char GetSeparator() const { return FSeparator; }

    static std::string CodeStr(const std::string& text);
    static std::string DecodeStr(const std::string& text);

protected:
    int FPosition = 1; // 1-based
    int FEnd = 1;
    char FSeparator = '\t';
    std::string FValue;
    bool FDecode = false;
};

// The parser that the text dictionary creates for 8-bit files.
class TIvAnsiParser : public TIvStringParser {
public:
    using TIvStringParser::TIvStringParser;
};

// The same over UTF-16 text; numeric and boolean fields are read through
// their 8-bit form in FCodePage (0 = the system code page).
class TIvWideParser {
public:
    TIvWideParser();
    TIvWideParser(const std::u16string& value, char16_t separator);

    void SetValue(const std::u16string& value);
    bool Eol() const { return FPosition >= FEnd; }
    void RemoveWhiteSpaces();
    char16_t TakeChar();
    char16_t PeekChar() const;
    std::u16string GetCurrentValue() const;
    std::u16string GetRestValue() const;

    std::u16string GetString();
    char16_t GetChar();
    char16_t GetCharDef(char16_t defaultValue);
    std::string GetAnsiString();
    char GetAnsiChar();
    int GetInteger();
    int GetIntegerDef(int defaultValue);
    // With the decimal separator in force (IvFormatSettings).
    double GetFloat();
    double GetFloatDef(double defaultValue);
    bool GetBoolean();
    bool GetBooleanDef(bool defaultValue);

    bool GetDecode() const { return FDecode; }
    void SetDecode(bool decode) { FDecode = decode; }
    int GetCodePage() const { return FCodePage; }
    void SetCodePage(int codePage) { FCodePage = codePage; }

    static std::u16string CodeStr(const std::u16string& text);
    static std::u16string DecodeStr(const std::u16string& text);

protected:
    int FPosition = 1;
    int FEnd = 1;
    char16_t FSeparator = u'\t';
    std::u16string FValue;
    bool FDecode = false;
    int FCodePage = 0;
};

// The class library's text-to-number conversions: surrounding blanks are
// allowed, anything else raises EConvertError. A number's decimal separator
// is `decimalSeparator` alone (with "," a "." is refused).
int IvStrToInt(const std::string& text);
int IvStrToIntDef(const std::string& text, int defaultValue);
double IvStrToFloat(const std::string& text, std::string_view decimalSeparator = ".");
bool IvStrToBoolean(const std::string& text);
