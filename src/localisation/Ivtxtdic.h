#pragma once
// Dictionaries kept in three TAB-separated text sources: languages,
// translations and (optionally) locales, each a file, a resource of type
// "PAROLEX" or a block stored in the owner's form. 8-bit sources decode a
// column with its own language's code page and every other text with
// language 0's (else 1252); UTF-8 and UTF-16 sources convert without loss.
#include "Ivcustdic.h"
#include "Ivreader.h"
#include "Ivstream.h"

#include <memory>
#include <string>
#include <vector>

enum TIvTextFormat { ivtfDetect, ivtfAnsi, ivtfUTF8, ivtfUTF16 };

// A line of a text source: 8-bit bytes, or UTF-16 for UTF-8 and UTF-16 sources.
struct TIvTextLine {
    bool Wide = false;
    std::string Bytes;
    std::u16string Units;
};

class TIvTextDictionary : public TIvCustomFileDictionary {
public:
    static constexpr const char* ClassName = "TIvTextDictionary";
    static constexpr const char* LanguageResource = "MlLanguage";
    static constexpr const char* TranslationResource = "MlTranslation";
    static constexpr const char* LocaleResource = "MlLocale";

    // Expanded to a full path at run time, as the translation file name is.
    std::string GetLanguageFileName();
    void SetLanguageFileName(const std::string& name) { FLanguageFileName = name; }
    std::string GetLocaleFileName();
    void SetLocaleFileName(const std::string& name) { FLocaleFileName = name; }
    bool GetConvert() const { return FConvert; }
    void SetConvert(bool convert) { FConvert = convert; }
    TIvTextFormat GetFormat() const { return FFormat; }
    void SetFormat(TIvTextFormat format) { FFormat = format; }
    TIvByteOrder GetByteOrder() const { return FByteOrder; }
    void SetByteOrder(TIvByteOrder order) { FByteOrder = order; }
    bool GetByteOrderMark() const { return FByteOrderMark; }
    void SetByteOrderMark(bool check) { FByteOrderMark = check; }

    int GetLanguageCount() override;
    void GetLanguageData(int index, TIvLanguage& language) override;
    void GetLanguageDatas(std::vector<std::unique_ptr<TIvLanguage>>& list) override;
    int GetLocaleCount() override;
    void GetLocaleData(int index, TIvLocale& locale) override;
    void GetLocaleDatas(std::vector<std::unique_ptr<TIvLocale>>& list) override;
    bool CanBeOpened() override;

    // The base's lookups of the same names stay in view beside the parsers.
    using TIvDictionary::GetContextType;
    using TIvDictionary::GetLanguage;
    using TIvDictionary::GetLocale;

    TIvTextFormat GetFileFormat(const std::string& fileName) const;
    TIvTextFormat GetResourceFormat(const std::string& resourceName) const;
    // With n TABs in the first line and L languages: n < L no context
    // column, n = L a component context, n > L a form and a component context.
    static TIvContextType GetContextType(const TIvTextLine& firstLine, int languageCount);
    // Parse one line into a record; true when the line lacked fields (the
    // record is still used, completed by its Init). `textCodePage` decodes
    // texts of 8-bit lines that are not the record's own.
    static bool GetLanguage(const TIvTextLine& line, TIvLanguage& language, int textCodePage);
    static bool GetLocale(const TIvTextLine& line, TIvLocale& locale, int textCodePage);

    // Embedded storage: the form stream and the component's name in it.
    void SetFormLocation(const std::string& formClassName, const std::string& componentName);
    TIvFormLocation GetFormLocation() const { return { FFormClassName, ClassName, FName }; }
    void ReadLanguages(TIvReader& reader) { FEmbeddedLanguages = SkipLanguages(reader); }
    void ReadTranslations(TIvReader& reader) { SkipTranslations(reader, FEmbeddedLanguages); }
    void ReadLocales(TIvReader& reader) { FEmbeddedLocales = SkipLocales(reader); }
    // Writing the form: version-2 blocks from the named text files. A block
    // whose file is missing or holds UTF-16 text is left out after telling
    // the user; a translation file without a language file (or the other
    // way round) raises.
    void CheckFileNamesForStoring();
    bool WriteLanguages(TIvWriter& writer);
    bool WriteTranslations(TIvWriter& writer);
    bool WriteLocales(TIvWriter& writer);

protected:
    void LoadTranslation(TIvTranslationTable& table) override;

private:
    enum class Source { Languages, Translations, Locales };
    // The source's non-empty lines, or raises the source's message.
    std::vector<TIvTextLine> ReadLines(Source source);
    bool StoreableFile(const std::string& name);
    int TextCodePage();

    std::string FLanguageFileName;
    std::string FLocaleFileName;
    int FEmbeddedLanguages = 0;
    int FEmbeddedLocales = 0;
    bool FConvert = true;
    TIvTextFormat FFormat = ivtfDetect;
    TIvByteOrder FByteOrder = ivboLittleEndian;
    bool FByteOrderMark = true;
    std::string FFormClassName;
    std::string FName;
};

class TIvFileDictionary : public TIvTextDictionary { };

bool IsUTF16File(const std::string& fileName);
bool IsUTF16Resource(const std::string& resourceName);
bool DoesResourceExist(const std::string& resourceName);
