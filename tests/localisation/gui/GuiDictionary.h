#pragma once
// An in-memory dictionary in English, German, French, Arabic, Japanese and
// Hebrew for the translator tests, with the rows kept to say what each
// language should show.
#include "FakeNls.h"
#include "TestDictionary.h"

#include <QString>

#include <map>

enum TestLanguage { English, German, French, Arabic, Japanese, Hebrew };

class GuiDictionary {
public:
    GuiDictionary()
    {
        D.Languages = { MakeLanguage(9, 1, 1252, "English"), MakeLanguage(7, 1, 1252, "German"),
            MakeLanguage(12, 1, 1252, "French"), MakeLanguage(1, 1, 1256, "Arabic"),
            MakeLanguage(17, 1, 932, "Japanese"), MakeLanguage(13, 1, 1255, "Hebrew") };
        Words = {
            { German,
                { { "Open",
                      "\xC3\x96"
                      "ffnen" },
                    { "&File", "&Datei" }, { "Gift", "Geschenk" }, { "Poison", "Gift" }, { "Red", "Rot" },
                    { "Green", "Gr\xC3\xBCn" }, { "Options", "Optionen" }, { "Main", "Haupt" },
                    { "Extra", "Zusatz" },
                    { "Opens a file",
                        "\xC3\x96"
                        "ffnet eine Datei" },
                    { "Window", "Fenster" }, { "Zone", "Bereich" }, { "Sensor", "Melder" },
                    { "First line\nSecond line", "Erste Zeile\nZweite Zeile" }, { "Later", "Sp\xC3\xA4ter" },
                    { "Cancel", "Abbrechen" }, { "Dialog", "Dialogfenster" } } },
            { French,
                { { "Open", "Ouvrir" }, { "File", "Fichier" }, { "Gift", "Cadeau" }, { "Poison", "Poison" },
                    { "Red", "Rouge" }, { "Green", "Vert" }, { "Options", "Options" },
                    { "Main", "Principal" }, { "Extra", "Suppl\xC3\xA9ment" },
                    { "Opens a file", "Ouvre un fichier" }, { "Window", "Fen\xC3\xAAtre" },
                    { "Zone", "Zone" }, { "Sensor", "D\xC3\xA9tecteur" },
                    { "First line\nSecond line", "Premi\xC3\xA8re ligne\nDeuxi\xC3\xA8me ligne" },
                    { "Later", "Plus tard" }, { "Cancel", "Annuler" }, { "Dialog", "Bo\xC3\xAEte" } } },
            { Arabic, { { "Open", "Iftah" } } },
            { Japanese, { { "Open", "Hiraku" } } },
            { Hebrew, { { "Open", "Patah" } } },
        };
        D.Rows.resize(D.Languages.size());
        for (auto& [language, words] : Words)
            for (auto& [english, translated] : words)
                D.Rows[language].push_back(Row(english, translated));
        D.SetCheckLevel(ivclNone);
        D.SetLanguage(English);
        D.Open();
    }

    // What a text reads in `language` (itself when the language lacks it).
    QString Tr(TestLanguage language, const std::string& english) const
    {
        auto words = Words.find(language);
        if (words != Words.end()) {
            auto it = words->second.find(english);
            if (it != words->second.end())
                return QString::fromStdString(it->second);
        }
        return QString::fromStdString(english);
    }

    FakeNls Nls;
    MemoryDictionary D;
    std::map<int, std::map<std::string, std::string>> Words;
};
