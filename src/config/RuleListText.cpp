#include "RuleListText.h"

#include <algorithm>

namespace rulelist {

std::string Build(int Base, const std::function<bool(int)>& InRule)
{
    const int first = std::max(Base, FirstRule);
    const int last = std::min(Base + WindowSize - 1, LastRule);
    std::string list;
    int count = 0;
    for (int r = first; r <= last; ++r) {
        if (InRule(r)) {
            ++count;
            if (count == 1 || r == last) {
                if (!list.empty())
                    list += count < 3 ? "," : "-";
                list += std::to_string(r);
            }
        } else {
            if (count > 1) {
                list += count < 3 ? "," : "-";
                list += std::to_string(r - 1);
            }
            count = 0;
        }
    }
    return list;
}

static bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

std::string StripBracket(const std::string& Text, bool AllowPlus, const std::function<void()>& OnBracket,
    const std::function<void()>& OnPlus, const std::function<void(int)>& OnBase)
{
    std::string text = Text;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == ' ')
            continue;
        if (c == '(') {
            text[i] = ' ';
            std::size_t close = text.find(')', i + 1);
            if (close == std::string::npos)
                continue;
            OnBracket();
            int number = 0;
            std::size_t j = i + 1;
            for (; j < close; ++j) {
                char d = text[j];
                if (AllowPlus && d == '+') {
                    OnPlus();
                    text[j] = ' ';
                } else if (IsDigit(d)) {
                    // Past the highest base rule more digits cannot make it valid; stop
                    // growing so a very long number cannot overflow.
                    if (number <= LastBaseRule)
                        number = number * 10 + (d - '0');
                    text[j] = ' ';
                } else {
                    number = 0;
                    break;
                }
            }
            text[j] = ' ';
            if (number >= FirstBaseRule && number <= LastBaseRule)
                OnBase(number);
            continue;
        }
        if (c != ',' && c != '-' && !IsDigit(c))
            text[i] = ' ';
    }
    return text;
}

std::array<bool, LastRule + 1> ParseRules(const std::string& Text)
{
    std::array<bool, LastRule + 1> listed {};
    auto mark = [&](int a, int b) {
        for (int r = std::min(a, b); r <= std::max(a, b); ++r)
            listed[r] = true;
    };
    std::string text = Text + " ";
    int number = 0;
    int pending = 0;
    for (char c : text) {
        if (IsDigit(c)) {
            if (number <= LastRule)
                number = number * 10 + (c - '0');
        } else if (c == '-') {
            if (number >= FirstRule && number <= LastRule) {
                if (pending != 0)
                    mark(pending, number);
                pending = number;
            } else {
                pending = 0;
            }
            number = 0;
        } else if (c == ' ' || c == ',') {
            if (number >= FirstRule && number <= LastRule) {
                if (pending == 0)
                    pending = number;
                mark(pending, number);
            }
            number = 0;
            pending = 0;
        }
    }
    return listed;
}

} // namespace rulelist
