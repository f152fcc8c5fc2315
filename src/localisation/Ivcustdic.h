#pragma once
// The sorted in-memory translation table behind every dictionary that loads
// its rows, and the base of dictionaries that come from a file.
#include "Ivdictio.h"
#include "Ivindex.h"

#include <string>
#include <vector>

using TIvTranslationTable = std::vector<TIvTranslation>;

// Exceptions of the table (part of the interface; nothing here raises them).
class EIvSorting : public EIvMulti {
public:
    using EIvMulti::EIvMulti;
};
class EIvTranslationRowIncomplete : public EIvMulti {
public:
    using EIvMulti::EIvMulti;
};
class EIvNullNativeString : public EIvMulti {
public:
    using EIvMulti::EIvMulti;
};

class TIvCustomDictionary : public TIvDictionary {
public:
    ~TIvCustomDictionary() override;

    int GetTranslationCount() const override { return static_cast<int>(FTable.size()); }
    // A language change loads the new language's rows first, then tells everyone.
    void LanguageChanged(bool languageChanged, bool localeChanged) override;
    bool TranslateContextString(const std::string& native, const std::string& form,
        const std::string& component, std::string& translation) const override;
    bool TranslateString(const std::string& native, std::string& translation) const override;

    void ClearTranslations()
    {
        FTable.clear();
        RebuildIndex();
    }
    // Raises ERangeError for an index outside the table.
    const TIvTranslation* GetTranslation(int index) const;
    // The index of a matching row or -1, answered by the hash index. Safe from
    // a worker thread while nothing changes the dictionary.
    int Find(const std::string& native) const;
    int FindContext(const std::string& native, const std::string& form, const std::string& component) const;
    // The binary searches that define which row answers; the index holds their answers.
    int FindBySearch(const std::string& native) const;
    int FindContextBySearch(
        const std::string& native, const std::string& form, const std::string& component) const;

    // Plain byte order of the native text (flat) or of the row key (with contexts).
    void Sort();
    void QuickSort(int lo, int hi);
    void ContextQuickSort(int lo, int hi);
    static void SortTable(TIvTranslationTable& table, bool byKey);

protected:
    // Appends the rows of the active language to `table` (a new, empty table);
    // the table replaces the current one, sorted, only when this returns.
    virtual void LoadTranslation(TIvTranslationTable& table) = 0;
    // Replaces the table at once (sorted here); for loaders that build rows elsewhere.
    void SetTranslations(TIvTranslationTable table);

private:
    // After every change of the table's rows or order.
    void RebuildIndex();
    bool IndexInForce() const { return FIndexByKey == (GetContextType() != 0); }

    TIvTranslationTable FTable;
    TIvTranslationIndex FNativeIndex; // native text -> row
    TIvTranslationIndex FKeyIndex; // row key -> row, with contexts only
    bool FIndexByKey = false; // the context mode the index was built for
};

enum TIvStorage { ivsFile, ivsEmbedded, ivsResource };

class TIvCustomFileDictionary : public TIvCustomDictionary {
public:
    // The stored name, resolved: the current folder first, then the program's folder.
    std::string GetFileName();
    void SetFileName(const std::string& name) { FFileName = name; }
    TIvStorage GetStorage() const { return FStorage; }
    void SetStorage(TIvStorage storage) { FStorage = storage; }

    std::string ExpandFileName(const std::string& name) const;
    bool CanBeOpened() override;

private:
    std::string FFileName;
    TIvStorage FStorage = ivsFile;
};

// The folder of the running program.
std::string IvProgramDirectory();
