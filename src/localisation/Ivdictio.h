#pragma once
// Run-time translation of the program's English texts. Translated texts are
// UTF-8; with no dictionary open a text is returned unchanged.
#include <string>

std::string Translate(const std::string& native);
