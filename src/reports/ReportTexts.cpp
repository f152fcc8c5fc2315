#include "ReportTexts.h"

#include "Ivdictio.h"

#include <QString>

#include <cstdio>

namespace report {

std::string ItemOf(const std::vector<std::string>& list, int code)
{
    if (code < 0 || code >= int(list.size()))
        return std::to_string(code);
    return Translate(list[std::size_t(code)]);
}

std::string ItemOfData(const std::vector<std::string>& list, int code)
{
    if (code < 0 || code >= int(list.size()))
        return std::to_string(code);
    return list[std::size_t(code)];
}

std::string YesNo(bool value, const char* whenTrue, const char* whenFalse)
{
    return Translate(value ? whenTrue : whenFalse);
}

std::string TwoDigits(int n)
{
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d", n);
    return buf;
}

std::string FirstCharacters(const std::string& utf8, int count)
{
    const QString s = QString::fromStdString(utf8);
    // Counted in characters as a user reads them, not in UTF-16 units.
    int end = 0;
    for (int n = 0; n < count && end < s.size(); ++n)
        end += s.at(end).isHighSurrogate() && end + 1 < s.size() ? 2 : 1;
    return s.left(end).toStdString();
}

} // namespace report
