// How texts fit their columns: when a text takes the room beside it or
// prints smaller, and every text of every shipped language laid out in its
// column with no word cut.
#include "LayoutFault.h"
#include "LongTexts.h"
#include "Panelsetupoptionslogic.h"
#include "ReportCatalogue.h"
#include "ShippedLanguages.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

using namespace report;

namespace {

TEST(ReportFit, AWordWiderThanItsColumnTakesTheRoomBesideItThenPrintsSmaller)
{
    const TFontSpec f;
    const double word = TextWidth("Extinguishant", f);
    // Room enough beside it: the whole text wraps in the room, at its size.
    auto fit = FitText("Extinguishant Release", f, word - 2, word + 1);
    EXPECT_EQ(fit.Lines, (std::vector<QString> { "Extinguishant", "Release" }));
    EXPECT_EQ(fit.Font, f);
    // Too little: just small enough for the word to fit, in quarter points.
    fit = FitText("Extinguishant Release", f, word - 4, word - 2);
    EXPECT_EQ(fit.Lines, (std::vector<QString> { "Extinguishant", "Release" }));
    EXPECT_LT(fit.Font.PointSize, f.PointSize);
    EXPECT_LE(TextWidth("Extinguishant", fit.Font), word - 2);
    TFontSpec larger = fit.Font;
    larger.PointSize += 0.25;
    EXPECT_GT(TextWidth("Extinguishant", larger), word - 2);
    // Only a word too wide even at the smallest size is cut.
    fit = FitText("WWWWWWWWWW", f, 5, 5);
    EXPECT_EQ(fit.Font.PointSize, SmallestPointSize);
    EXPECT_GT(fit.Lines.size(), 1u);
}

// Configurations that between them print every text the reports have: every
// rule type with every filter, sixteen zones of each condition, every device
// type and action, every on-board output type, every panel option's values.
std::vector<std::unique_ptr<TPX10ConfigData>> Sweep()
{
    std::vector<std::unique_ptr<TPX10ConfigData>> out;
    for (int k = 0; k < 12; ++k) {
        auto c = MakeLongTextConfiguration();
        for (int r = 1; r <= 64; ++r) {
            c->CBERules->SetRuleType(r, (r + k) % 12);
            c->CBERules->SetFilterType(r, (r / 12 + k) % 12);
            for (int slot = 1; slot <= 16; ++slot)
                c->CBERules->SetZoneCondition(r, slot, (r + k) % 5);
        }
        for (int a = 1; a <= 99; ++a) {
            c->Sensors->SetType(a, (a + k) % 12);
            c->Sensors->SetRemoteOutput(a, (a + k) % 3);
            c->Modules->SetType(a, a % 2 ? 2 : (a + k) % 21);
            c->Modules->SetAction(a, (a / 2 + k) % 11);
        }
        for (int o = 1; o <= 6; ++o)
            c->OnboardOutputCircuits->SetCircuitType(o, (o + 6 * k) % 10);
        c->OnboardOutputCircuits->SetEOLMode(k % 2 ? 0xF : 0);
        PanelSetupOptions panel(c.get());
        for (int o = 0; o < int(PanelOption::Count); ++o)
            panel.SetOption(PanelOption(o), k);
        c->FileHeader->SetPanelType(k % 5);
        c->GeneralPanelSetup->SetRS232Protocol(k % 4);
        c->GeneralPanelSetup->SetRS485Protocol(k);
        out.push_back(std::move(c));
    }
    return out;
}

// Every text of the reports of `configs` laid out in its column; the sizes
// the zone letters print in are added to `zoneLetterSizes`.
void ExpectEveryTextWholeAndNoWordCut(
    const std::vector<std::unique_ptr<TPX10ConfigData>>& configs, std::set<double>& zoneLetterSizes)
{
    TReportForms forms;
    TReportContext context;
    for (const auto& config : configs)
        for (int k = 0; k < ReportKindCount; ++k) {
            const TReport& r = forms.Of(TReportKind(k));
            auto check = [&](const std::vector<TLaidCell>& cells, int row) {
                for (const TLaidCell& cell : cells) {
                    EXPECT_EQ(LayoutFault(cell.Text, cell.Lines), "")
                        << r.Name() << " row " << row << " " << cell.Name << ": " << cell.Text.toStdString();
                    if (cell.Name == "ConditionLabel") {
                        EXPECT_EQ(cell.Lines.size(), 1u) << cell.Text.toStdString();
                        zoneLetterSizes.insert(cell.Font.PointSize);
                    }
                }
            };
            check(r.TitleCells(*config, context), 0);
            for (int n = 1; n <= r.RowCount(); ++n)
                check(r.RowCells(*config, context, n), n);
        }
}

TEST(ReportFit, EveryTextOfEveryShippedLanguagePrintsWholeWithNoWordCut)
{
    const auto configs = Sweep();
    std::set<double> zoneLetterSizes;
    ForEachShippedLanguage([&](const std::string& language) {
        SCOPED_TRACE(language);
        ExpectEveryTextWholeAndNoWordCut(configs, zoneLetterSizes);
    });
    // Sixteen letters of any condition, in any language: one size for all.
    EXPECT_EQ(zoneLetterSizes.size(), 1u);
}

} // namespace
