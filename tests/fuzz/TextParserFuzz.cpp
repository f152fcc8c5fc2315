// Text dictionary lines and language lists come from files: every field read
// must end in a value or a clean exception.
#include "Exception.h"
#include "Ivdictio.h"
#include "Ivparser.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const char separator = static_cast<char>(data[0]);
    std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);

    TIvStringParser p(text, separator);
    p.SetDecode(true);
    int op = 0;
    while (!p.Eol()) {
        try {
            switch (op++ % 6) {
            case 0:
                p.GetString();
                break;
            case 1:
                p.GetIntegerDef(0);
                break;
            case 2:
                p.GetFloat();
                break;
            case 3:
                p.GetBoolean();
                break;
            case 4:
                p.GetCharDef('x');
                break;
            default:
                p.RemoveWhiteSpaces();
                p.TakeChar();
            }
        } catch (const Exception&) {
        }
    }
    // Coding leaves "#" as it is, so only texts without one come back unchanged.
    if (text.find('#') == std::string::npos
        && TIvStringParser::DecodeStr(TIvStringParser::CodeStr(text)) != text)
        __builtin_trap();

    std::u16string wide(text.begin(), text.end());
    TIvWideParser w(wide, static_cast<char16_t>(separator));
    w.SetCodePage(1252);
    while (!w.Eol()) {
        try {
            w.GetRestValue();
            w.GetInteger();
        } catch (const Exception&) {
        }
    }

    TIvLanguage language;
    language.SetAllSubs(text);
    language.SetISOAllCountries(text);
    return 0;
}
