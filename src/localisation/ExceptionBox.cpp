#include "ExceptionBox.h"

#include "Exception.h"
#include "Ivdictio.h"
#include "Prompts.h"

#include <cstdio>

namespace {

std::string WithFullStop(std::string text)
{
    if (!text.empty() && static_cast<unsigned char>(text.back()) > static_cast<unsigned char>('.'))
        text += '.';
    return text;
}

// Translated only while the first dictionary is open; a missing-translation
// policy that raises must not hide the error itself.
std::string TranslatedMessage(const std::string& message)
{
    TIvDictionary* d = GetDefaultDictionary();
    if (!d || !d->IsOpen())
        return message;
    try {
        return d->Translate(message);
    } catch (const std::exception&) {
        return message;
    }
}

} // namespace

std::string ExceptionBoxText(const std::string& message)
{
    return WithFullStop(TranslatedMessage(message));
}

std::string ExceptionBoxText(const std::exception& e)
{
    const auto* ex = dynamic_cast<const Exception*>(&e);
    if (!ex)
        return ExceptionBoxText(std::string(e.what()));
    std::string text = ex->IsTranslated() ? WithFullStop(ex->Message()) : ExceptionBoxText(ex->Message());
    if (!ex->Detail().empty())
        text += "\n" + ex->Detail();
    return text;
}

void ShowExceptionBox(const std::exception& e)
{
    std::string text;
    try {
        text = ExceptionBoxText(e);
        platform::CurrentPrompts().MessageDlg(text, platform::MsgDlgType::mtError, platform::mbOK);
    } catch (const std::exception&) {
        std::fprintf(stderr, "%s\n", text.empty() ? e.what() : text.c_str()); // no box can be shown
    }
}

void Guarded(const std::function<void()>& f)
{
    try {
        f();
    } catch (const std::exception& e) {
        ShowExceptionBox(e);
    } catch (...) {
        ShowExceptionBox(Exception("Unknown error"));
    }
}
