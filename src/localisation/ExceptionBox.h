#pragma once
// The application's exception handler: the one error box that every failure
// reaching the event loop is shown in, and the guard that every entry from
// the event loop (slot, timer, event handler, posted event) runs under, so
// Qt never sees an exception.
#include <exception>
#include <functional>
#include <string>

// The translated message with "." added when its last character sorts
// after "." (so "!", ")" and "." get none, "?" gets one).
std::string ExceptionBoxText(const std::string& message);
// The whole text of the box for `e`: its message translated once (unless it
// was translated where it was raised) with the full-stop rule, then its
// detail lines as they are.
std::string ExceptionBoxText(const std::exception& e);
// Shows the error box for `e` with an OK button through the current prompts.
void ShowExceptionBox(const std::exception& e);
// Runs `f`; an exception it raises is shown in the error box instead.
void Guarded(const std::function<void()>& f);
