// px10-mldgen: writes an MLD dictionary (version 3, little-endian, UTF-16)
// from a UTF-8 text dictionary: a language file, a translation file and an
// optional locale file, TAB-separated as the text dictionaries read them.
//   px10-mldgen LANGFILE TRANSFILE [LOCALEFILE] -o OUT.mld
//               [--description TEXT] [--owner TEXT] [--user NAME]... [--date YYYY-MM-DDTHH:MM:SS]
// The creation date is fixed unless given, so a build makes the same bytes each time.
#include "CodePage.h"
#include "Ivlinerd.h"
#include "Ivmldwrt.h"
#include "Ivparser.h"
#include "Ivtxtdic.h"

#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

namespace {

constexpr char DefaultDate[] = "2026-01-01T00:00:00";

[[noreturn]] void Usage(const std::string& problem)
{
    std::cerr << "px10-mldgen: " << problem << "\n"
              << "usage: px10-mldgen LANGFILE TRANSFILE [LOCALEFILE] -o OUT.mld [--description TEXT] "
                 "[--owner TEXT] [--user NAME]... [--date YYYY-MM-DDTHH:MM:SS]\n";
    std::exit(2);
}

std::vector<TIvTextLine> Lines(const std::string& fileName)
{
    TIvUTF8Reader reader;
    reader.FileName = fileName;
    reader.Open();
    std::vector<TIvTextLine> lines;
    while (!reader.Eof()) {
        TIvTextLine line;
        line.Wide = true;
        line.Units = reader.ReadLine();
        if (!line.Units.empty())
            lines.push_back(std::move(line));
    }
    return lines;
}

TIvMLDDate ParseDate(const std::string& text)
{
    TIvMLDDate d;
    char tail = 0;
    if (std::sscanf(text.c_str(), "%4d-%2d-%2dT%2d:%2d:%2d%c", &d.Year, &d.Month, &d.Day, &d.Hour, &d.Minute,
            &d.Second, &tail)
            != 6
        || d.Month < 1 || d.Month > 12 || d.Day < 1 || d.Day > 31 || d.Hour > 23 || d.Minute > 59
        || d.Second > 59)
        Usage("the date must look like " + std::string(DefaultDate));
    return d;
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> files;
    std::string output;
    TIvMLDContent content;
    content.Version = 3;
    content.ByteOrder = ivboLittleEndian;
    content.Unicode = true;
    content.Info.Date = ParseDate(DefaultDate);
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        auto value = [&]() -> std::string {
            if (i + 1 >= argc)
                Usage(a + " needs a value");
            return argv[++i];
        };
        if (a == "-o")
            output = value();
        else if (a == "--description")
            content.Info.Description = value();
        else if (a == "--owner")
            content.Info.Owner = value();
        else if (a == "--user")
            content.Info.Users.push_back(value());
        else if (a == "--date")
            content.Info.Date = ParseDate(value());
        else if (a.rfind("-", 0) == 0)
            Usage("unknown option " + a);
        else
            files.push_back(a);
    }
    if (files.size() < 2 || files.size() > 3 || output.empty())
        Usage("name the language and translation files and the output");

    try {
        for (const auto& line : Lines(files[0])) {
            TIvLanguage language;
            TIvTextDictionary::GetLanguage(line, language, 65001);
            content.Languages.push_back(language);
        }
        if (files.size() > 2)
            for (const auto& line : Lines(files[2])) {
                TIvLocale locale;
                TIvTextDictionary::GetLocale(line, locale, 65001);
                content.Locales.push_back(locale);
            }
        std::vector<TIvTextLine> rows = Lines(files[1]);
        const int count = static_cast<int>(content.Languages.size());
        TIvContextType context = rows.empty() ? 0 : TIvTextDictionary::GetContextType(rows.front(), count);
        bool form = context & (1u << ivctForm);
        bool component = context & (1u << ivctComponent);
        content.ContextCode = form && component ? ivccFull : component ? ivccComponent : ivccFlat;
        for (const auto& line : rows) {
            // Texts are decoded from "#" escapes as the text dictionary decodes them.
            TIvWideParser parser(line.Units, u'\t');
            parser.SetDecode(true);
            TIvMLDRow row;
            row.Native = platform::Utf16ToUtf8(parser.GetString());
            if (form)
                row.FormContext = platform::Utf16ToUtf8(parser.GetString());
            if (component)
                row.ComponentContext = platform::Utf16ToUtf8(parser.GetString());
            for (int k = 1; k < count; ++k)
                row.Columns.push_back(platform::Utf16ToUtf8(parser.GetString()));
            content.Rows.push_back(std::move(row));
        }
        IvSaveMLD(content, output);
    } catch (const std::exception& e) {
        std::cerr << "px10-mldgen: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
