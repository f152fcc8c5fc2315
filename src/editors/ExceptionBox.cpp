#include "ExceptionBox.h"

#include "Exception.h"
#include "Ivdictio.h"
#include "Prompts.h"

#include <cstdio>

std::string ExceptionBoxText(const std::string& message)
{
    std::string text = Translate(message);
    if (!text.empty() && static_cast<unsigned char>(text.back()) > static_cast<unsigned char>('.'))
        text += '.';
    return text;
}

void ShowExceptionBox(const std::exception& e)
{
    const auto* ex = dynamic_cast<const Exception*>(&e);
    std::string text = ExceptionBoxText(ex ? ex->Message() : std::string(e.what()));
    try {
        platform::CurrentPrompts().MessageDlg(text, platform::MsgDlgType::mtError, platform::mbOK);
    } catch (const std::exception&) {
        std::fprintf(stderr, "%s\n", text.c_str()); // no box can be shown: keep the message
    }
}
