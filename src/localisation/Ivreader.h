#pragma once
// Dictionaries stored in form data: the "Languages", "Translations" and
// "Locales" properties of a dictionary component inside the form stream of
// the window that owns it, read, skipped and written.
//
// The form stream is our own tagged format, defined here once:
//
//   stream     = "PXF0" component
//   component  = class-name name property* END component* END
//   property   = name value
//   class-name, name = short text: one length byte, then the bytes
//   END        = one zero byte (the tag vaNull)
//   value      = one tag byte (TIvValueType) and its data:
//     vaNull            nothing (ends a list, a collection or a component part)
//     vaList            values until vaNull
//     vaInt8/16/32      1, 2 or 4 bytes, little-endian, signed
//     vaExtended        10 bytes
//     vaString, vaIdent one length byte, then the bytes (UTF-8)
//     vaFalse, vaTrue, vaNil   nothing
//     vaBinary, vaLString      a 32-bit length, then the bytes
//     vaSet             short texts until an empty one
//     vaCollection      items until vaNull; an item is an optional integer
//                       order value, vaList, properties, vaNull
//
// A dictionary block's value is the tagged list itself. A tag outside this
// table, a length past the end of the data and nesting deeper than
// IvFormMaxDepth raise; nothing is allocated from a count in the stream.
#include "Ivdictio.h"
#include "Ivcustdic.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

enum TIvValueType : uint8_t {
    vaNull = 0,
    vaList = 1,
    vaInt8 = 2,
    vaInt16 = 3,
    vaInt32 = 4,
    vaExtended = 5,
    vaString = 6,
    vaIdent = 7,
    vaFalse = 8,
    vaTrue = 9,
    vaBinary = 10,
    vaSet = 11,
    vaLString = 12,
    vaNil = 13,
    vaCollection = 14,
};

constexpr char IvFormSignature[] = "PXF0";
constexpr int IvFormMaxDepth = 64;
// Where form streams are found: the resource of this type named by the form's class.
constexpr char IvFormResourceType[] = "RCDATA";

// Raised for a malformed form stream.
class EIvFormStream : public Exception {
public:
    using Exception::Exception;
};

// Names a dictionary component inside a form stream.
struct TIvFormLocation {
    std::string FormClassName;
    std::string ComponentClassName;
    std::string ComponentName;
};

class TIvReader {
public:
    explicit TIvReader(std::string data)
        : FData(std::move(data))
    {
    }
    // The form resource named by the form's class; EResNotFound when missing.
    static std::unique_ptr<TIvReader> OpenForm(const std::string& formClassName);

    TIvValueType ReadValue();
    TIvValueType NextValue() const;
    // The next byte is vaNull (also where a name's length byte would be).
    bool EndOfList() const;
    void ReadListBegin();
    void ReadListEnd();
    int ReadInteger();
    std::string ReadString();
    char ReadChar();
    bool ReadBoolean();
    std::string ReadShortText();
    void ReadSignature();

    void SkipValue();
    void SkipProperty();
    void SkipSetBody();
    void SkipComponentHeader();
    void SkipComponentBody();
    void SkipComponent();
    std::string ReadLongString();

    // Positions at the value of `propertyName` of the root's direct child
    // of that class and name; EResNotFound "Could not find the property".
    void FindPropertyData(const std::string& componentClassName, const std::string& componentName,
        const std::string& propertyName);

    size_t GetPosition() const { return FPos; }

    // Reads the dictionary blocks a component keeps in a form: each of its
    // "Languages", "Translations" and "Locales" properties that is present
    // is handed to its reader, positioned at the value; an absent one is
    // passed over.
    struct TBlockReaders {
        std::function<void(TIvReader&)> Languages, Translations, Locales;
    };
    static void ReadFormBlocks(const std::string& formClassName, const std::string& componentClassName,
        const std::string& componentName, const TBlockReaders& readers);

private:
    const char* Take(size_t size);
    uint8_t Byte() { return static_cast<uint8_t>(*Take(1)); }
    void SkipValue(int depth);
    void SkipComponent(int depth);
    void SkipProperties(int depth);

    std::string FData;
    size_t FPos = 0;
};

class TIvWriter {
public:
    void WriteSignature() { FData.append(IvFormSignature, 4); }
    void WriteValue(TIvValueType type) { FData.push_back(static_cast<char>(type)); }
    void WriteListBegin() { WriteValue(vaList); }
    void WriteListEnd() { WriteValue(vaNull); }
    void WriteInteger(int value);
    void WriteString(const std::string& value);
    void WriteChar(char value) { WriteString(std::string(1, value)); }
    void WriteBoolean(bool value) { WriteValue(value ? vaTrue : vaFalse); }
    void WriteShortText(const std::string& text);
    void WriteComponentHeader(const std::string& className, const std::string& name);
    void WritePropertyName(const std::string& name) { WriteShortText(name); }
    const std::string& Data() const { return FData; }

private:
    std::string FData;
};

// --- Blocks. Data version 2 is written; 1 and 2 are read.
constexpr int IvFormDataVersion = 2;

int SkipLanguages(TIvReader& reader);
int SkipTranslations(TIvReader& reader, int languageCount);
int SkipLocales(TIvReader& reader);
void ReadLanguage(TIvReader& reader, TIvLanguage& language, int dataVersion);
void ReadLocale(TIvReader& reader, TIvLocale& locale, int dataVersion);
void WriteLanguage(TIvWriter& writer, const TIvLanguage& language);
void WriteLocale(TIvWriter& writer, const TIvLocale& locale);

// A row of the "Translations" block: native, contexts, column per language 1.. .
struct TIvFormRow {
    std::string Native;
    std::string FormContext;
    std::string ComponentContext;
    std::vector<std::string> Columns;
};
void WriteLanguagesBlock(TIvWriter& writer, const std::vector<TIvLanguage>& languages);
void WriteTranslationsBlock(
    TIvWriter& writer, TIvContextCode contextCode, const std::vector<TIvFormRow>& rows);
void WriteLocalesBlock(TIvWriter& writer, const std::vector<TIvLocale>& locales);

// --- Lookups by form.
void GetLanguageData(const TIvFormLocation& at, int index, TIvLanguage& language);
void GetLanguageDatas(const TIvFormLocation& at, std::vector<std::unique_ptr<TIvLanguage>>& list);
void GetLocaleData(const TIvFormLocation& at, int index, TIvLocale& locale);
void GetLocaleDatas(const TIvFormLocation& at, std::vector<std::unique_ptr<TIvLocale>>& list);
// The rows of language L (fallback F) appended to `table`; returns the block's context type.
TIvContextType LoadTranslation(const TIvFormLocation& at, int languageIndex, int fallbackIndex,
    int languageCount, TIvTranslationTable& table);

// The same on a reader positioned at a block's value.
void DoGetLanguageData(TIvReader& reader, int index, TIvLanguage& language);
void DoGetLanguageDatas(TIvReader& reader, std::vector<std::unique_ptr<TIvLanguage>>& list);
void DoGetLocaleData(TIvReader& reader, int index, TIvLocale& locale);
void DoGetLocaleDatas(TIvReader& reader, std::vector<std::unique_ptr<TIvLocale>>& list);
TIvContextType DoLoadTranslation(
    TIvReader& reader, int languageIndex, int fallbackIndex, TIvTranslationTable& table);
