#pragma once
// What the main window and the about window need of the language dictionary.
// The dictionary file and language switching come with the localisation
// runtime; until it provides an implementation no dictionary is open, the
// stored language is neither applied nor overwritten, and texts stay English.
class AppLanguage {
public:
    virtual ~AppLanguage() = default;
    // The dictionary's language index; -1 while it follows the user's locale.
    virtual int Language() const = 0;
    // Position of the language in force in the dictionary's language list.
    virtual int ActiveLanguageIndex() const = 0;
    // Raises an Exception when the index is outside the dictionary's range.
    virtual void SetLanguage(int index) = 0;
};
