#pragma once
// The check every layout of a text in lines must pass, a report's column or
// a page picture's caption alike.
#include <QString>

#include <algorithm>
#include <string>
#include <vector>

// What is wrong with `lines` as a layout of `text`: empty when they spell it
// with only blanks dropped at line ends, no line ends inside a word and none
// holds punctuation alone.
inline std::string LayoutFault(const QString& text, const std::vector<QString>& lines)
{
    qsizetype at = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        while (at < text.size() && text.at(at) == ' ' && !lines[i].startsWith(' '))
            ++at;
        if (text.mid(at, lines[i].size()) != lines[i])
            return "lines do not spell the text";
        at += lines[i].size();
        if (i + 1 < lines.size() && at < text.size() && text.at(at - 1).isLetterOrNumber()
            && text.at(at).isLetterOrNumber())
            return "cut after \"" + lines[i].toStdString() + "\"";
    }
    for (const QString& line : lines)
        if (lines.size() > 1
            && std::none_of(line.begin(), line.end(), [](QChar c) { return c.isLetterOrNumber(); }))
            return "a line of punctuation alone: \"" + line.toStdString() + "\"";
    return text.mid(at).trimmed().isEmpty() ? std::string() : "text left over";
}
