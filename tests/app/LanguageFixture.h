#pragma once
// The program's windows over the shipped dictionary, with settings of the
// test's own, and the language chosen as the user chooses it.
#include "Ivcustdic.h"
#include "ProgramWindows.h"
#include "support/FakePrompts.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

// Settings and the dictionary in a folder of the test's own, which is the
// current folder (where the program looks for "PX10Tool.mld" first).
struct LanguageFixture : ::testing::Test {
    QTemporaryDir Dir;
    QString OldFolder = QDir::currentPath();
    FakePrompts Prompts;
    std::unique_ptr<ProgramWindows> Windows;

    void SetUp() override
    {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, Dir.path());
        ASSERT_TRUE(QFile::copy(PX10_DICTIONARY_FILE, Dir.filePath("PX10Tool.mld")));
        QDir::setCurrent(Dir.path());
    }
    void TearDown() override
    {
        Windows.reset();
        QDir::setCurrent(OldFolder);
    }
    TIvCustomDictionary& Dictionary() { return *Windows->Dictionary(); }
    void Choose(int language)
    {
        Windows->ChooseLanguage(language);
        ASSERT_EQ(Dictionary().GetActiveLanguageIndex(), language);
    }
    // Every text that a translator holds now, with the English one it came from.
    struct Shown {
        std::string Native, Text;
        const QObject* Object;
        std::string Property;
    };
    std::vector<Shown> TranslatedTexts()
    {
        std::vector<Shown> out;
        for (TIvTranslator* t : Windows->Translators()) {
            const TIvTranslatorTable& table = t->GetTable();
            for (int i = 0; i < table.GetCount(); ++i) {
                const TIvTranslatorTableItem& row = table.GetItem(i);
                out.push_back({ row.NativeValue, row.TranslatedMatch, row.Object, row.PropertyName });
            }
        }
        return out;
    }
};
