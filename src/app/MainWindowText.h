#pragma once
// Text helpers shared by the main window's sources.
#include <QString>

#include <string>

namespace mainwindow {
inline QString Q(const std::string& s)
{
    return QString::fromStdString(s);
}
// A static English text; the window's translator translates it.
inline QString N(const char* native)
{
    return QString::fromUtf8(native);
}
} // namespace mainwindow
