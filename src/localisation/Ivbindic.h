#pragma once
// The dictionary read from an MLD file: from a file, from the program's
// resource "PAROLEX" of type "MlDictionary", or from blocks stored in the
// form that owns it. Every query opens its own reader and frees it, so no
// handle stays open between queries.
#include "Ivcustdic.h"
#include "Ivmldfil.h"
#include "Ivreader.h"

#include <memory>
#include <string>

class TIvBinaryDictionary : public TIvCustomFileDictionary {
public:
    static constexpr const char* ClassName = "TIvBinaryDictionary";
    static constexpr const char* ResourceType = "MlDictionary";
    static constexpr const char* ResourceName = "PAROLEX";

    // A new reader with the header read; the dictionary's context type
    // becomes the file's. "No FileName property set" without a file name.
    std::unique_ptr<TIvMLDFile> OpenFile();

    int GetLanguageCount() override;
    void GetLanguageData(int index, TIvLanguage& language) override;
    int GetLocaleCount() override;
    void GetLocaleData(int index, TIvLocale& locale) override;
    void GetLanguageDatas(std::vector<std::unique_ptr<TIvLanguage>>& list) override;
    void GetLocaleDatas(std::vector<std::unique_ptr<TIvLocale>>& list) override;
    bool FindLocaleData(uint32_t lcid, TIvLocale& locale) override;
    // The number of rows in the file (the table holds those of one language).
    int GetFileTranslationCount();

    // Embedded storage: the form stream and the component's name in it.
    void SetFormLocation(const std::string& formClassName, const std::string& componentName);
    TIvFormLocation GetFormLocation() const { return { FFormClassName, ClassName, FName }; }
    // The form's blocks are skipped when the form loads; only the counts stay.
    void ReadLanguages(TIvReader& reader) { FEmbeddedLanguages = SkipLanguages(reader); }
    void ReadTranslations(TIvReader& reader) { FEmbeddedRows = SkipTranslations(reader, FEmbeddedLanguages); }
    void ReadLocales(TIvReader& reader) { FEmbeddedLocales = SkipLocales(reader); }
    // Writes the blocks from the MLD file named by FileName; false, after
    // telling the user, when the file is missing or holds UTF-16 text.
    bool WriteLanguages(TIvWriter& writer);
    bool WriteTranslations(TIvWriter& writer);
    bool WriteLocales(TIvWriter& writer);

protected:
    void LoadTranslation(TIvTranslationTable& table) override;

private:
    bool Embedded() const { return GetStorage() == ivsEmbedded; }
    std::unique_ptr<TIvMLDFile> OpenForWriting();

    std::string FFormClassName;
    std::string FName;
    int FEmbeddedLanguages = 0;
    int FEmbeddedRows = 0;
    int FEmbeddedLocales = 0;
};
