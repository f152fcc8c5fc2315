#pragma once
// What the dictionary's language index decides, without widgets: the VdS
// mark, the regional options, the stored language and the option flags of
// new configurations. The main window and the report tool both follow it. A
// null dictionary is none open.
#include <optional>

class TIvDictionary;

// The option flags of a new configuration, in the order its constructor
// takes them.
struct TNewConfigFlags {
    bool VdSDefaults = false;
    bool LED2CModeDefault = false;
    bool TorqSwitchDefault = true;
    bool ControlKey3ModeDefault = false;
};

// The language in force is the VdS one (position 5 of the list).
bool IsVdSLanguage(const TIvDictionary* dictionary);
// The VdS mark, or the language in force at position 6 or 7.
bool IsRegionalOptionEnabled(bool vdsMark, const TIvDictionary* dictionary);
// The index stored as "UILanguage" when the window closes; none while the
// dictionary follows the user's locale (-1), so the stored one stays.
std::optional<int> LanguageToStore(const TIvDictionary* dictionary);
// VdS defaults, LED 2C mode, Torq switch and control key 3 mode, in this order.
TNewConfigFlags NewConfigFlags(bool vdsMark, const TIvDictionary* dictionary);
