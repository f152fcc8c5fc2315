#pragma once
// A main window under test: settings in a folder of its own, scripted prompts,
// and the window made by Show().
#include "About.h"
#include "Main.h"
#include "PX10ConfigData.h"
#include "support/FakePrompts.h"

#include <QDir>
#include <QSettings>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>
#include <string>

struct MainWindowFixture : ::testing::Test {
    QTemporaryDir Dir;
    FakePrompts Prompts;
    std::unique_ptr<TfrmAbout> About;
    std::unique_ptr<TfrmMain> Main;
    void SetUp() override
    {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, Dir.path());
        About = std::make_unique<TfrmAbout>();
    }
    void Show(std::vector<std::string> args = {})
    {
        Main = std::make_unique<TfrmMain>(About.get(), args);
        Main->show();
    }
    void TearDown() override
    {
        Main.reset();
        ConfigData = nullptr;
    }
    // A file in the test's own folder.
    std::string Path(const char* n) { return QDir(Dir.path()).filePath(n).toStdString(); }
};
