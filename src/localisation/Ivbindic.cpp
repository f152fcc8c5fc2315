#include "Ivbindic.h"

#include "Ivstream.h"
#include "Prompts.h"

#include <filesystem>

std::unique_ptr<TIvMLDFile> TIvBinaryDictionary::OpenFile()
{
    if (GetFileName().empty())
        throw Exception("No FileName property set");
    auto file = std::make_unique<TIvMLDFile>();
    if (GetStorage() == ivsFile) {
        file->OpenFile(GetFileName());
    } else {
        std::string bytes;
        if (!IvFindResource(ResourceType, ResourceName, bytes))
            throw EResNotFound(std::string("Resource ") + ResourceName + " not found");
        file->OpenStream(std::make_unique<TIvMemoryStream>(std::move(bytes)));
    }
    SetContextType(file->GetContextType());
    return file;
}

void TIvBinaryDictionary::SetFormLocation(const std::string& formClassName, const std::string& componentName)
{
    FFormClassName = formClassName;
    FName = componentName;
    // What loading the form does: each block present is skipped and counted.
    FEmbeddedLanguages = FEmbeddedRows = FEmbeddedLocales = 0;
    TIvReader::ReadFormBlocks(formClassName, ClassName, componentName,
        { [&](TIvReader& r) { ReadLanguages(r); }, [&](TIvReader& r) { ReadTranslations(r); },
            [&](TIvReader& r) { ReadLocales(r); } });
}

int TIvBinaryDictionary::GetLanguageCount()
{
    return Embedded() ? FEmbeddedLanguages : OpenFile()->GetLanguageCount();
}

int TIvBinaryDictionary::GetLocaleCount()
{
    return Embedded() ? FEmbeddedLocales : OpenFile()->GetLocaleCount();
}

int TIvBinaryDictionary::GetFileTranslationCount()
{
    return Embedded() ? FEmbeddedRows : OpenFile()->GetTranslationCount();
}

void TIvBinaryDictionary::GetLanguageData(int index, TIvLanguage& language)
{
    if (Embedded())
        ::GetLanguageData(GetFormLocation(), index, language);
    else
        language.Assign(OpenFile()->GetLanguage(index));
}

void TIvBinaryDictionary::GetLocaleData(int index, TIvLocale& locale)
{
    if (Embedded())
        ::GetLocaleData(GetFormLocation(), index, locale);
    else
        locale.Assign(OpenFile()->GetLocale(index));
}

void TIvBinaryDictionary::GetLanguageDatas(std::vector<std::unique_ptr<TIvLanguage>>& list)
{
    if (Embedded()) {
        ::GetLanguageDatas(GetFormLocation(), list);
        return;
    }
    auto file = OpenFile();
    int count = file->GetLanguageCount();
    if (count == 0)
        return;
    file->GoLanguageSection();
    for (int i = 0; i < count; ++i)
        list.push_back(file->GetCurrentLanguage().Copy());
}

void TIvBinaryDictionary::GetLocaleDatas(std::vector<std::unique_ptr<TIvLocale>>& list)
{
    if (Embedded()) {
        ::GetLocaleDatas(GetFormLocation(), list);
        return;
    }
    auto file = OpenFile();
    int count = file->GetLocaleCount();
    if (count == 0)
        return;
    file->GoLocaleSection();
    for (int i = 0; i < count; ++i)
        list.push_back(file->GetCurrentLocale().Copy());
}

// Reading the file once and its locales in order gives what reading each
// by its index does, without opening the file and reading the records before
// it again for every index.
bool TIvBinaryDictionary::FindLocaleData(uint32_t lcid, TIvLocale& locale)
{
    if (Embedded())
        return TIvCustomFileDictionary::FindLocaleData(lcid, locale);
    auto file = OpenFile();
    int count = file->GetLocaleCount();
    if (count == 0)
        return false;
    file->GoLocaleSection();
    for (int i = 0; i < count; ++i) {
        const TIvLocale& own = file->GetCurrentLocale();
        if (own.GetLocale() == lcid) {
            locale.Assign(own);
            return true;
        }
    }
    return false;
}

void TIvBinaryDictionary::LoadTranslation(TIvTranslationTable& table)
{
    const int active = GetActiveLanguageIndex();
    const int fallback = GetFallbackLanguageIndex();
    if (Embedded()) {
        SetContextType(::LoadTranslation(GetFormLocation(), active, fallback, FEmbeddedLanguages, table));
        return;
    }
    auto file = OpenFile();
    const int count = file->GetLanguageCount();
    // Each column in its own language's code page.
    int codePage = GetCurrentLanguage()->GetCodePage();
    int fallbackCodePage = 0;
    if (fallback > 0 && fallback < count && fallback != active)
        fallbackCodePage = file->GetLanguage(fallback).GetCodePage();
    const int rows = file->GetTranslationCount();
    file->GoTranslationSection();
    TIvTranslation row;
    for (int i = 0; i < rows; ++i) {
        if (file->GetTranslation(row, active, codePage, fallback, fallbackCodePage)
            != TIvTranslation::Untranslated)
            table.push_back(std::move(row));
    }
}

// ------------------------------------------------------------ storing in a form

std::unique_ptr<TIvMLDFile> TIvBinaryDictionary::OpenForWriting()
{
    std::string name = TIvCustomFileDictionary::ExpandFileName(GetFileName());
    std::error_code ec;
    if (name.empty() || !std::filesystem::is_regular_file(name, ec)) {
        platform::CurrentPrompts().MessageDlg(
            "Can not find the file name " + name + ". No dictionary data was stored!",
            platform::MsgDlgType::mtError, platform::mbOK);
        return nullptr;
    }
    auto file = std::make_unique<TIvMLDFile>();
    file->OpenFile(name);
    if (file->IsUnicode()) {
        platform::CurrentPrompts().MessageDlg(
            "Can not use a Unicode MLD file " + name + ". No dictionary data was stored!",
            platform::MsgDlgType::mtError, platform::mbOK);
        return nullptr;
    }
    return file;
}

bool TIvBinaryDictionary::WriteLanguages(TIvWriter& writer)
{
    auto file = OpenForWriting();
    if (!file)
        return false;
    std::vector<TIvLanguage> languages;
    if (file->GetLanguageCount() > 0) {
        file->GoLanguageSection();
        for (int i = 0; i < file->GetLanguageCount(); ++i)
            languages.push_back(file->GetCurrentLanguage());
    }
    WriteLanguagesBlock(writer, languages);
    return true;
}

bool TIvBinaryDictionary::WriteTranslations(TIvWriter& writer)
{
    auto file = OpenForWriting();
    if (!file)
        return false;
    std::vector<int> codePages { 0 };
    for (int k = 1; k < file->GetLanguageCount(); ++k)
        codePages.push_back(file->GetLanguage(k).GetCodePage());
    std::vector<TIvFormRow> rows;
    file->GoTranslationSection();
    TIvContext context;
    std::vector<std::string> strings;
    for (int i = 0; i < file->GetTranslationCount(); ++i) {
        file->GetTranslations(context, strings, codePages);
        TIvFormRow row;
        row.Native = strings.front();
        row.FormContext = context.Form;
        row.ComponentContext = context.Component;
        row.Columns.assign(strings.begin() + 1, strings.end());
        rows.push_back(std::move(row));
    }
    WriteTranslationsBlock(writer, static_cast<TIvContextCode>(file->GetContextCode() & 3), rows);
    return true;
}

bool TIvBinaryDictionary::WriteLocales(TIvWriter& writer)
{
    auto file = OpenForWriting();
    if (!file)
        return false;
    std::vector<TIvLocale> locales;
    if (file->GetLocaleCount() > 0) {
        file->GoLocaleSection();
        for (int i = 0; i < file->GetLocaleCount(); ++i)
            locales.push_back(file->GetCurrentLocale());
    }
    WriteLocalesBlock(writer, locales);
    return true;
}
