#pragma once
// Small texts the report forms share: list entries by stored code and
// numbers as the reports print them.
#include <string>
#include <vector>

namespace report {

// Translated entry `code` of `list`; the code in decimal when it lies outside.
std::string ItemOf(const std::vector<std::string>& list, int code);
// Entry `code` of a list of data texts (never translated), or the number.
std::string ItemOfData(const std::vector<std::string>& list, int code);
// The translated `whenTrue` or `whenFalse`.
std::string YesNo(bool value, const char* whenTrue, const char* whenFalse);
// A number with at least two digits ("%02d").
std::string TwoDigits(int n);
// The first `count` characters of a UTF-8 text.
std::string FirstCharacters(const std::string& utf8, int count);

} // namespace report
