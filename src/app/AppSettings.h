#pragma once
// The program's stored settings (QSettings, organisation "Veltrane",
// application "PX10 Windows Support Tool"): "Setup/Com Port", and in the
// version's group "UILanguage", "VdS Compatibility" and "File History/FILE n".
#include <optional>
#include <string>
#include <vector>

struct StoredSettings {
    int ComPort = 0;
    // Absent (or not a whole number): keep the dictionary's language. Read
    // wider than an int, so that a number beyond one is refused as it stands.
    std::optional<long long> UILanguage;
    bool VdSCompatibility = false;
    std::vector<std::string> Files; // FILE 1 .. FILE 5, "" for an empty slot
};

// `versionSection` is "V" followed by the product version.
StoredSettings ReadSettings(const std::string& versionSection, bool vdsDefault);
// "VdS Compatibility" alone: its default depends on the language, which is
// applied after the other settings are read.
bool ReadVdSCompatibility(const std::string& versionSection, bool vdsDefault);
// UILanguage is written only when it holds a value (the dictionary's
// language is not -1); the other values always.
void WriteSettings(const std::string& versionSection, const StoredSettings& settings);
