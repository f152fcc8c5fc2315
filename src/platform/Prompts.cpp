#include "Prompts.h"

#include "Exception.h"

#include <atomic>

namespace platform {

namespace {

class UnansweredPrompts final : public Prompts {
public:
    int MessageDlg(const std::string& text, MsgDlgType, MsgDlgButtons) override
    {
        throw Exception("Unanswered prompt: " + text);
    }
    void ShowMessage(const std::string& text) override { throw Exception("Unanswered prompt: " + text); }
    std::string OpenFileName(const FileDialogOptions& o) override
    {
        throw Exception("Unanswered open dialog: " + o.Title);
    }
    std::string SaveFileName(const FileDialogOptions& o) override
    {
        throw Exception("Unanswered save dialog: " + o.Title);
    }
};

UnansweredPrompts unanswered;
std::atomic<Prompts*> current{nullptr};

} // namespace

Prompts& CurrentPrompts()
{
    Prompts* p = current.load();
    return p ? *p : unanswered;
}

Prompts* SetPrompts(Prompts* prompts)
{
    return current.exchange(prompts);
}

std::vector<std::pair<std::string, std::string>> SplitFilter(const std::string& filter)
{
    std::vector<std::string> parts;
    std::string::size_type start = 0;
    while (start <= filter.size()) {
        auto bar = filter.find('|', start);
        if (bar == std::string::npos) {
            parts.push_back(filter.substr(start));
            break;
        }
        parts.push_back(filter.substr(start, bar - start));
        start = bar + 1;
    }
    std::vector<std::pair<std::string, std::string>> result;
    for (std::size_t i = 0; i + 1 < parts.size(); i += 2)
        result.emplace_back(parts[i], parts[i + 1]);
    return result;
}

} // namespace platform
