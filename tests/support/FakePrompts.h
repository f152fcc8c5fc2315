#pragma once
// Prompts answered from a script, with a log of every prompt shown.
#include "Prompts.h"

#include <deque>
#include <stdexcept>
#include <string>
#include <vector>

class FakePrompts : public platform::Prompts {
public:
    struct Shown {
        std::string Kind; // "dlg", "msg", "open", "save"
        std::string Text;
        platform::MsgDlgType Type = platform::MsgDlgType::mtCustom;
        platform::MsgDlgButtons Buttons = 0;
    };

    FakePrompts() { Previous = platform::SetPrompts(this); }
    ~FakePrompts() override { platform::SetPrompts(Previous); }

    // Answers are taken in order; a prompt with no answer left fails the test
    // by throwing.
    void Answer(int modalResult) { Results.push_back(modalResult); }
    void AnswerFile(std::string path) { Files.push_back(std::move(path)); }

    int MessageDlg(const std::string& text, platform::MsgDlgType type, platform::MsgDlgButtons buttons) override
    {
        Log.push_back({"dlg", text, type, buttons});
        if (Results.empty())
            throw std::logic_error("unexpected prompt: " + text);
        int r = Results.front();
        Results.pop_front();
        return r;
    }
    void ShowMessage(const std::string& text) override { Log.push_back({"msg", text}); }
    std::string OpenFileName(const platform::FileDialogOptions& o) override { return NextFile("open", o); }
    std::string SaveFileName(const platform::FileDialogOptions& o) override { return NextFile("save", o); }

    std::vector<Shown> Log;
    std::vector<platform::FileDialogOptions> Dialogs;

private:
    std::string NextFile(const char* kind, const platform::FileDialogOptions& o)
    {
        Log.push_back({kind, o.Title});
        Dialogs.push_back(o);
        if (Files.empty())
            throw std::logic_error(std::string("unexpected file dialog: ") + o.Title);
        std::string f = Files.front();
        Files.pop_front();
        return f;
    }
    std::deque<int> Results;
    std::deque<std::string> Files;
    platform::Prompts* Previous = nullptr;
};
