#pragma once
// The prompts of the running program: Qt message boxes and file dialogs.
#include "Prompts.h"

class QWidget;

namespace platform {

class QtPrompts final : public Prompts {
public:
    // `caption` is the title of message boxes (the program's title).
    explicit QtPrompts(std::string caption) : Caption(std::move(caption)) {}
    void SetCaption(std::string caption) { Caption = std::move(caption); }
    int MessageDlg(const std::string& text, MsgDlgType type, MsgDlgButtons buttons) override;
    void ShowMessage(const std::string& text) override;
    std::string OpenFileName(const FileDialogOptions& options) override;
    std::string SaveFileName(const FileDialogOptions& options) override;

private:
    std::string Caption;
};

} // namespace platform
