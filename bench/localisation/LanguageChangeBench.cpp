// A language change with a window of 500 translated properties and a text
// window of 20,000 downloaded lines, against walking the same objects and
// reading the same properties without translating, in alternation; the last
// line gives the ratio.
#include "Ivcustdic.h"
#include "Ivmulti.h"
#include "Ivpropinfo.h"
#include "Ivqthooks.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "FloorComparison.h"
#include "WidgetBench.h"

#include <benchmark/benchmark.h>

#include <set>

namespace {

class BenchDictionary : public TIvCustomDictionary {
public:
    std::vector<TIvLanguage> Languages;
    TIvTranslationTable German;
    int GetLanguageCount() override { return static_cast<int>(Languages.size()); }
    void GetLanguageData(int index, TIvLanguage& language) override { language.Assign(Languages.at(index)); }
    int GetLocaleCount() override { return 0; }
    void GetLocaleData(int, TIvLocale&) override { }

protected:
    void LoadTranslation(TIvTranslationTable& table) override
    {
        if (GetActiveLanguageIndex() == 1)
            table = German;
    }
};

TIvLanguage Language(int primary, const char* name)
{
    TIvLanguage l;
    l.PrimaryId = primary;
    l.DefaultSub = 1;
    l.SetCodePage(1252);
    l.EnglishName = name;
    l.Init();
    return l;
}

struct Fixture {
    Fixture()
    {
        d.Languages = { Language(9, "English"), Language(7, "German") };
        d.SetCheckLevel(ivclNone);
        TIvTargetProperties targets;
        for (const char* name : { "Caption", "Hint", "Items" })
            targets.Add("", name);
        std::set<std::string> natives;
        auto text = [&](const char* kind, int i) {
            std::string s = std::string(kind) + " " + std::to_string(i);
            natives.insert(s);
            return QString::fromStdString(s);
        };
        // 200 captions, 100 captions with hints, 20 lists of 5 entries: 500 properties.
        auto* layout = new QVBoxLayout(&window);
        for (int i = 0; i < 200; ++i)
            layout->addWidget(new QLabel(text("Label", i)));
        for (int i = 0; i < 100; ++i) {
            auto* b = new QPushButton(text("Button", i));
            b->setToolTip(text("Does", i));
            layout->addWidget(b);
        }
        for (int i = 0; i < 20; ++i) {
            auto* c = new QComboBox;
            for (int k = 0; k < 5; ++k)
                c->addItem(text("Entry", i * 5 + k));
            layout->addWidget(c);
        }
        auto* textLayout = new QVBoxLayout(&textWindow);
        textLayout->addWidget(new QLabel(text("Lines", 0)));
        lines = new QPlainTextEdit;
        QStringList data;
        for (int i = 0; i < 20000; ++i)
            data << QString("%1,07/12/2026 12:00:%2,Sensor %3,Zone %4,Fire")
                        .arg(i)
                        .arg(i % 60)
                        .arg(i % 99)
                        .arg(i % 32);
        lines->setPlainText(data.join('\n'));
        IvSetDataControl(lines);
        textLayout->addWidget(lines);
        for (const auto& n : natives) {
            TIvTranslation row;
            row.Native = n;
            row.Translation = "DE " + n;
            d.German.push_back(row);
        }
        d.SetLanguage(0);
        d.Open();
        for (QWidget* w : { &window, &textWindow }) {
            auto* t = new TIvTranslator(w);
            t->SetTargets(targets);
            t->Loaded();
            translators.push_back(t);
        }
    }
    BenchDictionary d;
    QWidget window;
    QWidget textWindow;
    QPlainTextEdit* lines = nullptr;
    std::vector<TIvTranslator*> translators;
};

void Register(Fixture& f)
{
    benchfloor::Register({ "LanguageChange",
        [&f] {
            f.d.SetLanguage(1 - f.d.GetLanguage());
            QCoreApplication::processEvents(); // the LanguageChange events
        },
        [&f] {
            const TIvTargetProperties& targets = f.translators.front()->GetTargets();
            benchmark::DoNotOptimize(benchwidgets::WalkTargets(&f.window, targets)
                + benchwidgets::WalkTargets(&f.textWindow, targets));
        },
        1, 100, 0, 100e6, "walk without translating" });
}

} // namespace

int main(int argc, char** argv)
{
    benchwidgets::RunComparisons<Fixture>(argc, argv, Register, IvInstallQtHooks);
    return 0;
}
