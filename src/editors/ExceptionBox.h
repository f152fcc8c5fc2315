#pragma once
// The error box of the application's exception handler, for every entry
// from the event loop that catches a failure.
#include <exception>
#include <string>

// The translated message with "." added when its last character sorts
// after "." (so "!", ")" and "." get none, "?" gets one).
std::string ExceptionBoxText(const std::string& message);
// Shows the error box for `e` with an OK button through the current prompts.
void ShowExceptionBox(const std::exception& e);
