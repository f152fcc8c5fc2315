#pragma once
// Modal message boxes and file dialogs go through this interface, so that the
// logic behind a window can be driven by tests that answer the prompts.
// Texts are UTF-8 and already translated.
#include <string>
#include <vector>

namespace platform {

enum class MsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };

// Button set: OR of these bits.
enum MsgDlgButton : unsigned {
    mbYes = 1u << 0,
    mbNo = 1u << 1,
    mbOK = 1u << 2,
    mbCancel = 1u << 3,
    mbAbort = 1u << 4,
    mbRetry = 1u << 5,
    mbIgnore = 1u << 6,
    mbAll = 1u << 7,
    mbNoToAll = 1u << 8,
    mbYesToAll = 1u << 9,
    mbHelp = 1u << 10,
};
using MsgDlgButtons = unsigned;

// Modal results, numbered as the class library numbers them.
enum ModalResult : int {
    mrNone = 0,
    mrOk = 1,
    mrCancel = 2,
    mrAbort = 3,
    mrRetry = 4,
    mrIgnore = 5,
    mrYes = 6,
    mrNo = 7,
    mrAll = 8,
    mrNoToAll = 9,
    mrYesToAll = 10,
};

struct FileDialogOptions {
    std::string Title;
    std::string Filter;      // "Configuration files (*.UDF)|*.UDF|All files (*.*)|*.*"
    int FilterIndex = 1;     // 1-based
    std::string DefaultExt;  // without the dot
    std::string InitialDir;
    std::string FileName;    // proposed name
};

class Prompts {
public:
    virtual ~Prompts() = default;
    // A message box with the given buttons; returns the modal result of the
    // button pressed (mrCancel or mrNo when closed otherwise, as the box allows).
    virtual int MessageDlg(const std::string& text, MsgDlgType type, MsgDlgButtons buttons) = 0;
    // A plain box with an OK button and the program's title as its caption.
    virtual void ShowMessage(const std::string& text) = 0;
    // File dialogs: the chosen path, or empty when cancelled.
    virtual std::string OpenFileName(const FileDialogOptions& options) = 0;
    virtual std::string SaveFileName(const FileDialogOptions& options) = 0;
};

// The prompts in force. Until one is installed, every prompt raises an
// Exception naming the text, so a missing answer in a test never hangs.
Prompts& CurrentPrompts();
// Installs `prompts` (not owned) and returns the previous one (may be null).
Prompts* SetPrompts(Prompts* prompts);

// Splits a filter of the form "Text|*.a;*.b|Text|*.c" into (text, patterns) pairs.
std::vector<std::pair<std::string, std::string>> SplitFilter(const std::string& filter);

} // namespace platform
