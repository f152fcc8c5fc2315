#pragma once
// Writes MLD dictionary files in every version, byte order and string kind,
// for the dictionary generator and for tests. Texts are given in UTF-8 and
// written as UTF-16 or as 8-bit text of the code page that a reader decodes
// them with: a column in its language's, a locale's own texts in the
// locale's, everything else in language 0's (else 1252).
#include "Ivdictio.h"
#include "Ivmldfil.h"

#include <string>
#include <vector>

struct TIvMLDRow {
    std::string Native;
    std::string FormContext;
    std::string ComponentContext;
    // Column k - 1 holds the translation into language k (k = 1 .. count - 1);
    // missing columns are written empty.
    std::vector<std::string> Columns;
};

struct TIvMLDContent {
    int Version = IvMLDLatestVersion;
    TIvByteOrder ByteOrder = ivboLittleEndian;
    bool Unicode = true;
    uint8_t CharacterSet = 1; // header byte of an 8-bit file (any value but 0)
    TIvContextCode ContextCode = ivccFlat;
    std::vector<TIvLanguage> Languages;
    std::vector<TIvMLDRow> Rows;
    std::vector<TIvLocale> Locales;
    bool HasInfo = true; // versions 2 and 3
    TIvMLDInfo Info;
    // Bytes appended to every version 3 language and locale block, as a
    // later version would append fields.
    int ExtraBlockBytes = 0;
};

// The file's bytes. Raises EIvMulti for what the format cannot hold (more
// than 65535 entries or units, a version outside 1 to 3).
std::string IvWriteMLD(const TIvMLDContent& content);
// Written crash-safely: the previous file stays when writing fails.
void IvSaveMLD(const TIvMLDContent& content, const std::string& fileName);
