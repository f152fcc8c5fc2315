// The program in every language: the shipped dictionary's source table, the
// texts of the sources, every window walked in each language, and the
// language kept over a restart.
#include "AddDevicesForm.h"
#include "DeviceDataSets.h"
#include "DeviceEditRules.h"
#include "EditorInterfaces.h"
#include "Ivcustdic.h"
#include "Ivdlgmod.h"
#include "Ivpropinfo.h"
#include "Onboardoutputlogic.h"
#include "Onboardoutputsetupframe.h"
#include "Panelsetupoptions.h"
#include "PX10VersionInfo.h"
#include "QtPrompts.h"
#include "Cberulezonedataset.h"
#include "PX10ConfigCBERuleConfiguration.h"
#include "PX10ConfigDeviceConfiguration.h"
#include "RecordGrid.h"
#include "ReportJob.h"
#include "LanguageFixture.h"
#include "ProgramWindows.h"
#include "Settings.h"
#include "support/FakePrompts.h"
#include "support/PickListEntries.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QSettings>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>

namespace {

bool HasLetter(const std::string& s)
{
    for (unsigned char c : s)
        if (std::isalpha(c) || c >= 0x80)
            return true;
    return false;
}

// "#C", "#L", "#T" and "##" of the text-dictionary format.
std::string Decode(const std::string& s)
{
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '#' && i + 1 < s.size() && std::strchr("CLT#", s[i + 1])) {
            out += s[i + 1] == 'C' ? '\r' : s[i + 1] == 'L' ? '\n' : s[i + 1] == 'T' ? '\t' : '#';
            ++i;
        } else
            out += s[i];
    }
    return out;
}

// The readable source table: native -> columns 1 to 7.
std::map<std::string, std::vector<std::string>> SourceTable()
{
    std::ifstream in(PX10_DICTIONARY_SOURCE);
    std::map<std::string, std::vector<std::string>> rows;
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty())
            continue;
        std::vector<std::string> fields;
        std::stringstream ss(line);
        std::string f;
        while (std::getline(ss, f, '\t'))
            fields.push_back(Decode(f));
        if (!line.empty() && line.back() == '\t')
            fields.push_back("");
        std::string native = fields.front();
        fields.erase(fields.begin());
        rows[native] = fields;
    }
    return rows;
}

// The C-escapes of a literal's body (the sources write UTF-8 as it stands).
std::string Unescape(const std::string& body)
{
    std::string out;
    for (size_t i = 0; i < body.size(); ++i) {
        if (body[i] != '\\') {
            out += body[i];
            continue;
        }
        char n = body[++i];
        if (n == 'r')
            out += '\r';
        else if (n == 'n')
            out += '\n';
        else if (n == 't')
            out += '\t';
        else if (n == 'x') {
            size_t used = 0;
            out += char(std::stoi(body.substr(i + 1, 2), &used, 16));
            i += used;
        } else
            out += n;
    }
    return out;
}

// The functions that show or print the texts given to them: the marker and
// the translating functions, the report's title, headings and value words,
// the grids' column titles, the widgets' own texts, failures. Object names, report
// label names and settings keys go to other functions.
const char* const DisplayCall
    = R"(\b(IvNative|Translate|MlFormat|MlShowMessage|MlMessageDlg|Exception(\s+\w+)?)"
      R"(|AddStandardBands|AddHeading|YesNo|WithUnit|AddField|SetFieldTitle)"
      R"(|QLabel|QPushButton|QCheckBox|QRadioButton|QGroupBox|QAction|QToolButton)"
      R"(|setText|setWindowTitle|setToolTip|setStatusTip|setWhatsThis|setAccessibleName)"
      R"(|setPlaceholderText|setTitle|setLabelText|addItems?|insertItems?|addTab)"
      R"(|insertTab|setTabText|addAction|addMenu|set(Horizontal)?HeaderLabels)\()";

// Texts given to a display function that stay as they stand: the sensor
// report's application-number heading prints untranslated, the about box's
// memory unit follows the number as it is, and the print table's index and
// the zone grid's second pair (titled "Zone" and "Text") are field names that
// never head a column.
const std::set<std::string> NotTranslated { "A.Num.", " KB", "Index", "Zone2", "Text2" };

// Failures no user meets: a programmer's error, or raised by readers this program does not use.
const std::set<std::string> NeverShownFailures { "Unanswered prompt: ", "Unanswered open dialog: ",
    "Unanswered save dialog: ", "Unable to hook windowed control", "Undefined OnLanguageCount event",
    "Undefined OnLocaleCount event", "Undefined OnLanguageData event", "Undefined OnLocaleData event",
    "Undefined OnTranslate event", "Incomplete language data (", "Incomplete locale data (",
    "No FileName property set", "Property has not been translated", "Invalid charset code",
    " is not a boolean value", "Not a Unicode file", " data version: " };

// Every literal given to a display function: those at the top level of the
// argument (both sides of a choice, adjacent literals joined), with the file
// they stand in. Tables and lists of texts mark their entries with IvNative.
void CollectTexts(const std::string& s, const std::string& file, std::map<std::string, std::string>& texts)
{
    static const std::regex call(DisplayCall);
    for (auto m = std::sregex_iterator(s.begin(), s.end(), call); m != std::sregex_iterator(); ++m) {
        size_t i = m->position() + m->length();
        int depth = 1;
        std::string joined;
        bool inJoin = false;
        while (i < s.size() && depth > 0) {
            const char c = s[i];
            if (c == '"') {
                size_t j = i + 1;
                while (j < s.size() && s[j] != '"')
                    j += s[j] == '\\' ? 2 : 1;
                if (depth == 1)
                    joined += Unescape(s.substr(i + 1, j - i - 1)), inJoin = true;
                i = j + 1;
                continue;
            }
            if (c == '\'') { // a character literal
                i += s[i + 1] == '\\' ? 4 : 3;
                continue;
            }
            if (!std::isspace(static_cast<unsigned char>(c)) && inJoin) {
                texts.emplace(joined, file);
                joined.clear();
                inJoin = false;
            }
            depth += c == '(' ? 1 : c == ')' ? -1 : 0;
            ++i;
        }
        if (inJoin)
            texts.emplace(joined, file);
    }
}

std::map<std::string, std::string> SourceTexts()
{
    std::map<std::string, std::string> texts;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(PX10_SOURCE_DIR "/src")) {
        const std::string ext = entry.path().extension().string();
        if (ext != ".cpp" && ext != ".h")
            continue;
        std::ifstream in(entry.path());
        const std::string s((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        CollectTexts(s, entry.path().filename().string(), texts);
    }
    return texts;
}

// The format specifiers of a text, in order.
std::vector<std::string> Specifiers(const std::string& s)
{
    static const std::regex spec(R"(%[-0-9.*]*[dsuxXfegcp%])");
    std::vector<std::string> out;
    for (auto m = std::sregex_iterator(s.begin(), s.end(), spec); m != std::sregex_iterator(); ++m)
        out.push_back(m->str());
    return out;
}

int Count(const std::string& s, const std::string& part)
{
    int n = 0;
    for (size_t at = s.find(part); at != std::string::npos; at = s.find(part, at + part.size()))
        ++n;
    return n;
}

// Every entry that row `a` of a device grid offers in a pick list fits the
// field the choice is stored in, shown from it and printed from it.
template <class TColumns, class TRowOffer>
void ExpectOffersFit(const TColumns& columns, const TRowOffer& offer, int a, int language)
{
    for (const auto& column : columns) {
        if (!column.Offer || column.Size <= 0)
            continue;
        for (const std::string& entry : (offer.*column.Offer).Items) {
            EXPECT_LE(QString::fromStdString(entry).size(), column.Size)
                << "language " << language << ", " << column.Title << " of row " << a << ": " << entry;
        }
    }
}

// The letter that Alt and a menu text's accelerator choose (null for none).
QChar Accelerator(const QString& text)
{
    for (qsizetype i = 0; i + 1 < text.size(); ++i)
        if (text[i] == '&' && text[++i] != '&')
            return text[i].toLower();
    return {};
}

// The texts Alt and a letter reach together: a window's controls with its menu bar's
// entries, a menu's entries, and those of Qt's file dialogs as the program opens them.
std::map<QString, QStringList> AltSets()
{
    std::map<QString, QStringList> sets;
    const auto add = [&](const QWidget* top, const QString& owner) {
        QStringList& texts = sets[owner];
        for (const QWidget* w : top->findChildren<QWidget*>())
            if (auto* b = qobject_cast<const QAbstractButton*>(w); b && w->window() == top)
                texts << b->text();
            else if (auto* l = qobject_cast<const QLabel*>(w); l && l->buddy() && w->window() == top)
                texts << l->text();
        const QWidget* menu = qobject_cast<const QMenu*>(top) ? top : top->findChild<QMenuBar*>();
        for (const QAction* entry : menu ? menu->actions() : QList<QAction*>())
            if (entry->isVisible())
                texts << entry->text();
    };
    for (const QWidget* top : QApplication::topLevelWidgets()) // each made once: named by its address
        add(top, top->metaObject()->className() + QString::number(quintptr(top), 16));
    platform::QtPrompts prompts { "PX1x/2x" };
    for (const auto open : { &platform::Prompts::OpenFileName, &platform::Prompts::SaveFileName }) {
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            ASSERT_TRUE(dialog);
            const QString name = open == &platform::Prompts::OpenFileName ? "open" : "save";
            add(dialog, name);
            for (const QAction* entry : dialog->findChildren<QAction*>(Qt::FindDirectChildrenOnly))
                sets[name + " pop-up menu"] << entry->text(); // its file list's, made when asked for
            dialog->reject();
        });
        (prompts.*open)({});
    }
    return sets;
}

} // namespace

TEST(ShippedDictionary, EveryRowIsCompleteAndKeepsItsFormat)
{
    const auto table = SourceTable();
    ASSERT_GT(table.size(), 400u);
    for (const auto& [native, columns] : table) {
        SCOPED_TRACE(native);
        ASSERT_EQ(columns.size(), 7u) << "every TAB is written";
        EXPECT_EQ(columns[0], native) << "the English column is the native text";
        for (int c = 0; c < FullLanguages; ++c) {
            const std::string& t = columns[size_t(c)];
            EXPECT_FALSE(t.empty()) << "language " << c + 1;
            EXPECT_EQ(Specifiers(t), Specifiers(native)) << t;
            EXPECT_EQ(Count(t, "\r\n"), Count(native, "\r\n")) << t;
            EXPECT_LE(Count(t, "&") - 2 * Count(t, "&&"), 1) << t;
            EXPECT_EQ(Count(t, "&") > 0, Count(native, "&") > 0) << "an accelerator stays one: " << t;
        }
        // German (Switzerland) and (Austria) take German's texts.
        EXPECT_TRUE(columns[5].empty() && columns[6].empty());
    }
    // The device letters also start the lines of the device-data file: the
    // same in every language.
    for (const std::string letter : { "S", "M" }) {
        std::vector<std::string> same(7);
        std::fill_n(same.begin(), FullLanguages, letter);
        EXPECT_EQ(table.at(letter), same);
    }
}

TEST(ShippedDictionary, EveryTextOfTheSourcesHasARow)
{
    const auto table = SourceTable();
    const auto texts = SourceTexts();
    ASSERT_GT(texts.size(), 200u);
    for (const auto& [text, file] : texts) {
        if (!HasLetter(text) || NotTranslated.count(text) || NeverShownFailures.count(text))
            continue;
        EXPECT_TRUE(table.count(text)) << "no row for \"" << text << "\" (" << file << ")";
    }
    // Qt's own texts of the dialogs and boxes the program shows.
    for (const std::string& text : IvQtNativeTexts())
        EXPECT_TRUE(table.count(text)) << "no row for Qt's \"" << text << "\"";
}

// What the scan takes for a display text, and what it leaves.
TEST(ShippedDictionary, TheScanFindsTextsGivenToEveryKindOfDisplayFunction)
{
    std::map<std::string, std::string> texts;
    CollectTexts(R"(
        AddStandardBands(*this, "CBE Rules");
        AddHeading("Ev.", 65.6, 6.6, TAlign::Center);
        AddColumn("EvacLabel", 65.6, 6.6, TAlign::Center, handler);
        value = YesNo(flag, "Y", "N") + WithUnit(delay, "seconds");
        static const char* const letters[] = { IvNative("D"), "Q" };
        AddField("PA", TFieldType::ftString, 2);
        SetFieldTitle(fldZone2, "Zone");
        setObjectName("btnOK");
        auto* box = new QGroupBox(title, this);
        box->setToolTip("Tip " "joined");
        caption = Translate(on ? "ON" : "OFF") + Format("%d", n);
        throw Exception("Port gone", device); Exception failure("Stopped.");
    )",
        "x.cpp", texts);
    std::set<std::string> found;
    for (const auto& [text, file] : texts)
        found.insert(text);
    EXPECT_EQ(found,
        (std::set<std::string> { "CBE Rules", "Ev.", "Y", "N", "seconds", "D", "PA", "Zone", "Tip joined",
            "ON", "OFF", "Port gone", "Stopped." }));
}

TEST_F(LanguageFixture, EveryWindowInEachLanguageShowsOnlyTextsWithAFullRow)
{
    // Started in German: every window and every page built late is made in
    // German, and still each translator must hold the English texts.
    platform::ProgramSettings()->setValue("V" PX10_VERSION_PRODUCT_VERSION "/UILanguage", German);
    Windows = std::make_unique<ProgramWindows>();
    ASSERT_EQ(Dictionary().GetActiveLanguageIndex(), German);
    ASSERT_NE(Windows->About->LanguageDictionary, nullptr);
    ASSERT_EQ(int(Windows->Main->LanguageItems().size()), 7) << "one item per language after the first";
    std::set<std::string> natives;
    for (int language = English; language <= Austrian; ++language) {
        Choose(language);
        for (const Shown& s : TranslatedTexts()) {
            if (!HasLetter(s.Native))
                continue;
            natives.insert(s.Native);
            const int at = Dictionary().Find(s.Native);
            ASSERT_GE(at, 0) << "no row for \"" << s.Native << "\"";
            const TIvTranslation* row = Dictionary().GetTranslation(at);
            EXPECT_EQ(
                row->Status, language >= Swiss ? TIvTranslation::FromFallback : TIvTranslation::Translated)
                << s.Native;
        }
    }
    EXPECT_GT(natives.size(), 250u);
}

TEST_F(LanguageFixture, EnglishGermanFrenchEnglishTranslatesEveryTextFromEnglish)
{
    Windows = std::make_unique<ProgramWindows>();
    TfrmMain& main = *Windows->Main;
    std::set<std::string> english;
    Choose(English);
    for (const Shown& s : TranslatedTexts())
        english.insert(s.Native);
    for (int language : { German, French, English }) {
        Choose(language);
        for (const Shown& s : TranslatedTexts()) {
            // Never a translation taken for English: every text came from an English one.
            EXPECT_TRUE(english.count(s.Native)) << "translated twice: \"" << s.Native << "\"";
            if (!HasLetter(s.Native))
                continue;
            std::string expected = Dictionary().Translate(s.Native);
            // Menus compare without their accelerator.
            if (qobject_cast<const QAction*>(s.Object) || qobject_cast<const QMenu*>(s.Object)) {
                const size_t amp = expected.find('&');
                if (amp != std::string::npos)
                    expected.erase(amp, 1);
            }
            EXPECT_EQ(s.Text, expected) << s.Native;
        }
        // What code builds follows too: caption, device grid headings, the language items.
        EXPECT_NE(main.windowTitle().toStdString().find(Translate("NEW FILE")), std::string::npos);
        auto* grid = main.SensorFrame()->Widget()->findChild<QTableView*>("dbgSensorEdit");
        ASSERT_NE(grid, nullptr);
        EXPECT_EQ(
            grid->model()->headerData(0, Qt::Horizontal).toString().toStdString(), Translate("Address"));
        EXPECT_EQ(main.LanguageItems()[size_t(German - 1)]->text().toStdString(), Translate("German"));
        EXPECT_TRUE(main.LanguageItems()[size_t(language - 1)]->isChecked());
    }
    EXPECT_EQ(main.FileNew->text().toStdString(), "&New");
    EXPECT_EQ(main.TreeView1()->topLevelItem(0)->text(0).toStdString(), "Panel");
}

// What the main window makes when first needed is made once, in the language
// chosen before it and showing the file opened before it.
TEST_F(LanguageFixture, PagesMadeLateShowTheLanguageAndTheFileOfTheirTime)
{
    const std::string file = Dir.filePath("late.UDF").toStdString();
    {
        TPX10ConfigData saved(false, false, true, false);
        saved.GeneralPanelSetup->SetSiteName("HALL 9");
        saved.OnboardOutputCircuits->SetCircuitType(2, onboard::TypePickOrder()[2]);
        saved.Modules->SetType(4, 3);
        saved.SaveToFile(file);
    }
    TfrmAbout about;
    TfrmMain main(&about, {});
    frmMain = &main;
    main.show();
    EXPECT_EQ(main.findChild<TfrmPanelSetupOptions*>(), nullptr);
    EXPECT_EQ(main.findChild<TfrmOnboardOutputSetup*>(), nullptr);
    EXPECT_EQ(main.findChild<TfrmAddDevices*>(), nullptr);
    EXPECT_EQ(main.findChild<QTableView*>("dbgModuleEdit"), nullptr);
    for (QAction* item : main.LanguageItems())
        if (item->data().toInt() == French)
            item->trigger();
    QApplication::processEvents();
    main.OpenConfigFile(file);
    ASSERT_EQ(ConfigData->GeneralPanelSetup->GetSiteName(), "HALL 9");
    ASSERT_NE(Translate("Onboard Outputs"), "Onboard Outputs");

    main.ViewOnboardOutputCircuits->trigger();
    TfrmOnboardOutputSetup* outputs = main.OnboardOutputFrame();
    EXPECT_TRUE(outputs->isVisible());
    EXPECT_EQ(outputs->findChild<QLabel*>("lblTitle")->text().toStdString(), Translate("Onboard Outputs"));
    const auto typeText = [](int code) { return Translate(onboard::TypeList()[size_t(code)]); };
    EXPECT_EQ(outputs->cboB[1]->currentText().toStdString(), typeText(onboard::TypePickOrder()[2]));
    outputs->cboB[0]->setCurrentIndex(1);
    emit outputs->cboB[0]->activated(1);
    EXPECT_EQ(ConfigData->OnboardOutputCircuits->GetCircuitType(1), onboard::TypePickOrder()[1]);

    main.ViewGeneralSetupOptions->trigger();
    TfrmPanelSetupOptions* options = main.PanelSetupFrame();
    ASSERT_TRUE(options->ControlsCreated());
    EXPECT_EQ(options->txtSiteName->text(), "HALL 9");
    auto* tabs = options->findChild<QTabWidget*>("pclSetupOptions");
    ASSERT_NE(tabs, nullptr);
    EXPECT_EQ(tabs->tabText(1).toStdString(), Translate("Site Details"));

    main.TreeView1()->setCurrentItem(main.ModulesNode());
    DeviceEditFrame* modules = main.ModuleFrame();
    auto* moduleGrid = modules->Widget()->findChild<QTableView*>("dbgModuleEdit");
    ASSERT_NE(moduleGrid, nullptr);
    EXPECT_TRUE(moduleGrid->isVisible());
    EXPECT_EQ(
        moduleGrid->model()->headerData(0, Qt::Horizontal).toString().toStdString(), Translate("Address"));
    EXPECT_FALSE(
        moduleGrid->model()->index(3, mfType - 1).data().toString().isEmpty()); // the file's module 4
    EXPECT_TRUE(moduleGrid->model()->index(4, mfType - 1).data().toString().isEmpty());

    TfrmAddDevices* dialog = &main.Windows().AddDevices();
    EXPECT_EQ(dialog->cbxOverwrite->text().toStdString(), Translate("Overwrite defined devices"));

    // Asked for again, or the language changed again: nothing new is made.
    EXPECT_EQ(main.OnboardOutputFrame(), outputs);
    EXPECT_EQ(main.PanelSetupFrame(), options);
    EXPECT_EQ(&main.Windows().AddDevices(), dialog);
    EXPECT_EQ(main.ModuleFrame(), modules);
    for (QAction* item : main.LanguageItems())
        if (item->data().toInt() == German)
            item->trigger();
    EXPECT_EQ(main.findChildren<TfrmOnboardOutputSetup*>().size(), 1);
    EXPECT_EQ(main.findChildren<TfrmPanelSetupOptions*>().size(), 1);
    EXPECT_EQ(main.findChildren<TfrmAddDevices*>().size(), 1);
    EXPECT_EQ(main.findChildren<QTableView*>("dbgModuleEdit").size(), 1);
    EXPECT_EQ(outputs->findChild<QLabel*>("lblTitle")->text().toStdString(), Translate("Onboard Outputs"));
    main.close();
    frmMain = nullptr;
}

// The short headings, letters and captions of the reports and grids print in
// the language in force; product designations and the device letters stay.
TEST_F(LanguageFixture, ReportHeadingsLettersAndGridTitlesFollowTheLanguage)
{
    Windows = std::make_unique<ProgramWindows>();
    TPX10ConfigData config(false, false, true, false);
    auto& rules = *config.CBERules;
    rules.SetRuleType(1, 0); // Fire: zones ON, DELAYED, COINCIDENCE, PULSED, then OFF
    for (int zone = 1; zone <= 16; ++zone)
        rules.SetZoneCondition(1, zone, std::min(zone - 1, 4));
    rules.SetEvacuate(1, true);
    rules.SetSilence(1, false);
    rules.SetRuleType(2, 1); // Device Input from sensor 7
    rules.SetDeviceKind(2, 1, 1);
    rules.SetDeviceAddress(2, 1, 7);
    const report::TReportForms forms;
    const report::TReportContext context;
    const auto headings = [&](const report::TReport& r) {
        std::set<std::string> out;
        const auto pages = r.BuildPages(config, context);
        for (const report::TPlacedText& t : pages.front().Texts)
            out.insert(t.Text.toStdString());
        return out;
    };
    auto* sensorGrid = Windows->Main->SensorFrame()->Widget()->findChild<QTableView*>("dbgSensorEdit");
    ASSERT_NE(sensorGrid, nullptr);
    const auto gridTitle = [&](int field) {
        return sensorGrid->model()->headerData(field - 1, Qt::Horizontal).toString().toStdString();
    };
    // An English string of one-letter texts, letter by letter in the language in force.
    const auto letters = [](const std::string& english) {
        std::string out;
        for (char c : english)
            out += Translate(std::string(1, c));
        return out;
    };
    const report::TReport& cbeRules = forms.Of(report::TReportKind::CBERules);

    for (int language = English; language <= FullLanguages; ++language) {
        Choose(language);
        SCOPED_TRACE(language);
        const auto fire = cbeRules.RowTexts(config, context, 1);
        EXPECT_EQ(fire[3] + fire[4], letters("YN"));
        EXPECT_EQ(fire[12], letters("YDCPNNNNNNNNNNNN"));
        EXPECT_EQ(cbeRules.RowTexts(config, context, 2)[9], "S07");
        const auto cbe = headings(cbeRules);
        for (const char* h : { "Rule", "Filter", "Ev.", "Sil.", "Int.", "Tz.", "Cl.", "Soak", "D1", "D3",
                 "Zone [1-16]/[17-32]" })
            EXPECT_TRUE(cbe.count(Translate(h))) << h;
        const auto sensors = headings(forms.Of(report::TReportKind::Sensors));
        // "A.Num." is wider than its column at the page's edge and still prints whole.
        EXPECT_TRUE(sensors.count(Translate("Rem.Op.")) && sensors.count("A.Num."));
        EXPECT_TRUE(headings(forms.Of(report::TReportKind::OnboardOutputs)).count(Translate("Config.")));
        EXPECT_EQ(forms.Of(report::TReportKind::Panel).RowTexts(config, context, 50)[0], "RS232");
        EXPECT_EQ(gridTitle(sfPA) + " " + gridTitle(sfPD), Translate("PA") + " " + Translate("PD"));
    }
}

// A pick list left open while the language changes offers the new
// language's entries with the stored one marked, and an entry chosen in it
// stores its own code, whatever language it was shown in.
TEST_F(LanguageFixture, AListOpenAcrossALanguageChangeStoresTheEntryChosen)
{
    Windows = std::make_unique<ProgramWindows>();
    TfrmMain& main = *Windows->Main;
    const auto openList = [](TRecordGrid* grid, int row, int field) {
        grid->setCurrentIndex(grid->model()->index(row - 1, field - 1));
        QApplication::processEvents();
        return QPointer<QComboBox>(qobject_cast<QComboBox*>(grid->OpenEditor()));
    };
    // The list of a device frame's cell, showing the records as they are now.
    const auto openDeviceList = [&](DeviceEditFrame* frame, const char* grid, int address, int field) {
        frame->GotoAddress(address);
        frame->Resync();
        return openList(frame->Widget()->findChild<TRecordGrid*>(grid), address, field);
    };
    const auto choose = [](QComboBox* list, int entry) {
        list->setCurrentIndex(entry);
        emit list->activated(entry);
        QApplication::processEvents();
    };
    const auto entry = [](QComboBox* list, int i) { return list->itemText(i).toStdString(); };

    // A TORQ sensor whose remote output is CBE; English, then French.
    TPX10ConfigDeviceConfiguration& sensors = *ConfigData->Sensors;
    sensors.SetTorqType(3, 20);
    sensors.SetType(3, 2);
    sensors.SetRemoteOutput(3, 2);
    QPointer<QComboBox> remote = openDeviceList(main.SensorFrame(), "dbgSensorEdit", 3, sfRemOutput);
    ASSERT_TRUE(remote);
    Choose(French);
    ASSERT_TRUE(remote) << "the list stays open";
    EXPECT_EQ(entry(remote, 1), Translate("Follow"));
    EXPECT_EQ(remote->currentIndex(), 2);
    choose(remote, 1);
    EXPECT_EQ(sensors.GetRemoteOutput(3), 1);

    // An AUX module's action; German.
    Choose(English);
    TPX10ConfigDeviceConfiguration& modules = *ConfigData->Modules;
    modules.SetTorqType(4, 130);
    modules.SetType(4, 2);
    modules.SetZone(4, 17);
    modules.SetAction(4, 0);
    main.TreeView1()->setCurrentItem(main.ModulesNode());
    QPointer<QComboBox> action = openDeviceList(main.ModuleFrame(), "dbgModuleEdit", 4, mfAction);
    ASSERT_TRUE(action);
    Choose(German);
    ASSERT_TRUE(action);
    EXPECT_EQ(entry(action, 6), Translate("HOLD SWITCH"));
    choose(action, 6);
    EXPECT_EQ(modules.GetAction(4), 6);
    EXPECT_EQ(action->currentIndex(), 6);

    // A Fire rule's zone condition, OFF; English, then French: DELAYED is
    // stored, never ON for a text of the other language.
    Choose(English);
    TPX10ConfigCBERuleConfiguration& rules = *ConfigData->CBERules;
    rules.SetRuleType(1, 0);
    rules.SetZoneCondition(1, 1, 4);
    TfrmCBERuleEdit& editor = main.Windows().CBERuleEdit();
    editor.show();
    QApplication::processEvents();
    QPointer<QComboBox> condition = openList(editor.dbgRuleZones, 1, TCBERuleZoneDataSet::fldCondition);
    ASSERT_TRUE(condition);
    EXPECT_EQ(condition->currentIndex(), 4);
    Choose(French);
    ASSERT_TRUE(condition);
    EXPECT_EQ(entry(condition, 1), Translate("DELAYED"));
    EXPECT_EQ(condition->currentIndex(), 4);
    choose(condition, 1);
    EXPECT_EQ(rules.GetZoneCondition(1, 1), 1);
    editor.hide();
}

// ... and reads whole in the list open in its column.
TEST_F(LanguageFixture, EveryEntryOfADeviceGridsPickListsFitsItsFieldInEveryFullLanguage)
{
    Windows = std::make_unique<ProgramWindows>();
    TfrmMain& main = *Windows->Main;
    // Besides what every row offers: a TORQ sensor with application numbers
    // and remote outputs, a TORQ AUX module with its actions.
    ConfigData->Sensors->SetTorqType(1, devicecode::TorqSensorOpt);
    ConfigData->Sensors->SetType(1, devicecode::ApplicationNumberType);
    ConfigData->Modules->SetTorqType(1, devicecode::TorqK710);
    ConfigData->Modules->SetType(1, devicecode::FunctionAux);
    main.TreeView1()->setCurrentItem(main.ModulesNode());
    auto* sensors = main.findChild<TSensorDataSet*>("dscSensorEdit");
    auto* modules = main.findChild<TModuleDataSet*>("dscModuleEdit");
    ASSERT_TRUE(sensors && modules);
    for (int language = English; language <= FullLanguages; ++language) {
        Choose(language);
        SCOPED_TRACE(language);
        ASSERT_EQ(modules->Edits().RowOffer(1).Action.Items.size(), 11u);
        ASSERT_EQ(sensors->Edits().RowOffer(1).RemOutput.Items.size(), 3u);
        for (int a = 1; a <= TPX10ConfigDeviceConfiguration::AddressCount; ++a) {
            ExpectOffersFit(SensorColumns, sensors->Edits().RowOffer(a), a, language);
            ExpectOffersFit(ModuleColumns, modules->Edits().RowOffer(a), a, language);
        }
        for (const auto& [node, name] : { std::pair { main.SensorsNode(), "dbgSensorEdit" },
                 std::pair { main.ModulesNode(), "dbgModuleEdit" } }) {
            main.TreeView1()->setCurrentItem(node);
            TRecordGrid& grid = *main.findChild<TRecordGrid*>(name);
            for (int c = 0; c < grid.model()->columnCount(); ++c) {
                QStringList entries; // of every row, the first offering a list in each column
                for (int r = 1; r <= grid.model()->rowCount(); ++r)
                    entries << grid.CellEdit(c, r).PickList;
                entries.removeDuplicates();
                if (!entries.isEmpty())
                    ExpectEntriesWhole(grid, grid.model()->index(0, c), entries, name);
            }
        }
    }
}

// Alt and one letter reach one control of a window or entry of a menu: two may
// share their letter only where their English texts share it too.
TEST_F(LanguageFixture, NoTwoControlsOfAWindowOrEntriesOfAMenuShareAnAcceleratorThatTheirEnglishTextsDoNot)
{
    Windows = std::make_unique<ProgramWindows>();
    Choose(English);
    const auto english = AltSets();
    ASSERT_GT(english.size(), 20u);
    for (int language = English + 1; language <= FullLanguages; ++language) {
        Choose(language);
        for (const auto& [owner, texts] : AltSets()) {
            const QStringList& was = english.at(owner);
            ASSERT_EQ(texts.size(), was.size()) << owner.toStdString();
            for (int i = 0; i < texts.size(); ++i)
                for (int j = 0; j < i; ++j)
                    if (const QChar letter = Accelerator(texts[i]);
                        !letter.isNull() && letter == Accelerator(texts[j]))
                        EXPECT_TRUE(Accelerator(was[i]) == Accelerator(was[j]))
                            << "language " << language << ", " << owner.toStdString() << ": \""
                            << texts[j].toStdString() << "\" and \"" << texts[i].toStdString() << "\"";
        }
    }
}

// Serial Port Setup names the computer's device with the word its status
// line uses for it, in every full language, not with the loop devices' word.
// The status is in the language chosen, also when the environment names the device.
TEST_F(LanguageFixture, SerialPortSetupNamesThePortsDeviceAsItsStatusLineDoes)
{
    const QByteArray given = qgetenv("PX10_COM1");
    qunsetenv("PX10_COM1");
    platform::ProgramSettings()->setValue("Setup/COM1 Device", Dir.filePath("ttyMissing"));
    Windows = std::make_unique<ProgramWindows>();
    TfrmSerialSetup& setup = Windows->Main->Windows().SerialSetup();
    for (int language = English; language <= FullLanguages; ++language) {
        Choose(language);
        const QString status = setup.lblDeviceStatus->text().toLower();
        ASSERT_FALSE(status.isEmpty());
        EXPECT_EQ(setup.lblDeviceStatus->text().toStdString(), Translate("The device is not present."));
        const QStringList words = setup.lblDevice->text().toLower().split(' ');
        EXPECT_TRUE(
            std::any_of(words.begin(), words.end(), [&](const QString& w) { return status.contains(w); }))
            << "language " << language << ": \"" << setup.lblDevice->text().toStdString() << "\" over \""
            << status.toStdString() << "\"";
        qputenv("PX10_COM1", "/dev/pts/42");
        setup.FillPorts();
        qunsetenv("PX10_COM1");
        EXPECT_EQ(setup.lblDeviceStatus->text().toStdString(),
            MlFormat("%s is set, so the port opens %s, not the device chosen here.", std::string("PX10_COM1"),
                std::string("/dev/pts/42")));
    }
    if (!given.isEmpty())
        qputenv("PX10_COM1", given);
}

TEST_F(LanguageFixture, TheVdSMarkAndTheRegionalOptionsFollowTheLanguageChosen)
{
    Windows = std::make_unique<ProgramWindows>();
    TfrmMain& main = *Windows->Main;
    Choose(German);
    EXPECT_TRUE(main.VdSCompatibility->isChecked());
    Choose(Swiss);
    EXPECT_FALSE(main.VdSCompatibility->isChecked());
    EXPECT_TRUE(main.IsRegionalOptionEnabled());
    // Swiss and Austrian German show German's texts.
    EXPECT_EQ(main.FileOpen->text().toStdString(), "Ö&ffnen...");
    Choose(French);
    EXPECT_FALSE(main.IsRegionalOptionEnabled());
}

TEST_F(LanguageFixture, TheLanguageChosenAppliesAtTheNextStart)
{
    Windows = std::make_unique<ProgramWindows>();
    Choose(French);
    Windows->Main->close(); // the settings are written
    Windows.reset();
    Windows = std::make_unique<ProgramWindows>();
    EXPECT_EQ(Dictionary().GetActiveLanguageIndex(), French);
    EXPECT_EQ(Windows->Main->FileNew->text().toStdString(), "&Nouveau");
    EXPECT_EQ(Windows->About->btnOK->text().toStdString(), "OK");
    EXPECT_EQ(Windows->Main->Windows().ZoneText().windowTitle().toStdString(), "Textes de zone");
    EXPECT_TRUE(Windows->Main->LanguageItems()[size_t(French - 1)]->isChecked());
    EXPECT_TRUE(Prompts.Log.empty());
}

TEST_F(LanguageFixture, ADamagedDictionaryGivesOneMessageAndEnglish)
{
    {
        QFile f(Dir.filePath("PX10Tool.mld"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write("MLD\x03 not a dictionary");
    }
    Prompts.Answer(platform::mrOk);
    Windows = std::make_unique<ProgramWindows>();
    ASSERT_EQ(Prompts.Log.size(), 1u);
    EXPECT_EQ(Windows->About->LanguageDictionary, nullptr);
    EXPECT_TRUE(Windows->Main->LanguageItems().empty());
    EXPECT_EQ(Windows->Main->FileNew->text().toStdString(), "&New");
}

// One translation claiming a character more than it has shifts every later
// row: French would show Italian. The reader refuses the file instead.
TEST_F(LanguageFixture, ATranslationLengthOneTooLargeRefusesTheDictionary)
{
    QFile f(Dir.filePath("PX10Tool.mld"));
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    QByteArray b = f.readAll();
    ASSERT_TRUE(b.startsWith("MLD\x03\x01\x00\x00")) << "UTF-16, little-endian, flat";
    auto word = [&](qsizetype at) { return int(uchar(b[at])) | (int(uchar(b[at + 1])) << 8); };
    qsizetype at = word(20) | (qsizetype(word(22)) << 16); // the first row, then its columns
    for (int column = 0; column < French; ++column)
        at += 2 + 2 * word(at);
    b[at] = char(uchar(b[at]) + 1);
    f.seek(0);
    f.write(b);
    f.close();
    platform::ProgramSettings()->setValue("V" PX10_VERSION_PRODUCT_VERSION "/UILanguage", French);
    Prompts.Answer(platform::mrOk);
    Windows = std::make_unique<ProgramWindows>();
    ASSERT_EQ(Prompts.Log.size(), 1u);
    EXPECT_EQ(Prompts.Log[0].Text, "Stream read error.");
    EXPECT_EQ(Windows->Main->FileNew->text().toStdString(), "&New");
}

TEST_F(LanguageFixture, AMissingDictionaryMeansEnglishWithoutAWord)
{
    ASSERT_TRUE(QFile::remove(Dir.filePath("PX10Tool.mld")));
    Windows = std::make_unique<ProgramWindows>();
    EXPECT_TRUE(Prompts.Log.empty());
    EXPECT_EQ(Windows->About->LanguageDictionary, nullptr);
    EXPECT_EQ(Windows->Main->FileNew->text().toStdString(), "&New");
}
