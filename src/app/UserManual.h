#pragma once
// Finding and opening the user manual PDF.
#include <functional>
#include <string>

// The manual in the program's folder: the file the dictionary names under
// "UserManualFilenamePX10" (so each language may have its own), else
// "412-905-000.pdf". Raises an Exception with the translated "User Manual not
// present" when neither exists.
std::string FindUserManual(const std::string& programDir);

// Opens the manual with the system's PDF viewer through `open`; when no
// viewer takes it, raises an Exception with the translated reader message.
void OpenUserManual(const std::string& path, const std::function<bool(const std::string&)>& open);
