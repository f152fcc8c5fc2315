#pragma once
// The rule list text shared by devices and on-board output circuits, for
// example "1-3,5": runs of three or more as a range, singles and pairs with commas.
#include <array>
#include <functional>
#include <string>

namespace rulelist {

constexpr int FirstRule = 1;
constexpr int LastRule = 64;
constexpr int WindowSize = 24;
constexpr int FirstBaseRule = 1;
constexpr int LastBaseRule = 41;

// Lists the rules of the window Base .. Base + 23 that pass InRule. Only rules
// 1 to 64 are visited, so a stored base outside 1 to 41 lists no rule that
// cannot exist.
std::string Build(int Base, const std::function<bool(int)>& InRule);

// Step 1 of reading a list text: handles the bracketed base rule. AllowPlus
// says whether a "+" inside the brackets is the loop-powered output. Returns
// the text with the bracket blanked out; reports the base rule (1 to 41) and
// the plus through the callbacks.
std::string StripBracket(const std::string& Text, bool AllowPlus, const std::function<void()>& OnBracket,
    const std::function<void()>& OnPlus, const std::function<void(int)>& OnBase);

// Step 2: the set of listed rules; element r is true when rule r (1 to 64) is listed.
std::array<bool, LastRule + 1> ParseRules(const std::string& Text);

} // namespace rulelist
