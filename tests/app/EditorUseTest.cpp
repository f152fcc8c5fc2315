// The editors as a user drives them through the main window: an edit still
// open in a grid cell when a menu command acts on the records.
#include "EditorInterfaces.h"
#include "MainWindowFixture.h"
#include "PX10ConfigDeviceConfiguration.h"
#include "RecordGrid.h"

#include <QLineEdit>
#include <QTreeWidget>
#include <gtest/gtest.h>

using namespace platform;

namespace {

struct EditorUseFixture : MainWindowFixture {
    TRecordGrid* SensorGrid() { return Main->findChild<TRecordGrid*>("dbgSensorEdit"); }
    // Types `Text` into the Description cell of `Address` and leaves the
    // editor open, as a user does before reaching for a menu.
    void TypeDescription(int Address, const QString& Text)
    {
        TRecordGrid* grid = SensorGrid();
        Main->SensorFrame()->GotoAddress(Address);
        const QModelIndex cell = grid->model()->index(Address - 1, 1);
        grid->setCurrentIndex(cell); // the cell's editor opens with it
        auto* line = qobject_cast<QLineEdit*>(grid->OpenEditor());
        ASSERT_NE(line, nullptr);
        line->selectAll();
        line->insert(Text);
    }
};

} // namespace

TEST_F(EditorUseFixture, MenuCommandsTakeTheOpenCellEditFirst)
{
    Show();
    ConfigData->Sensors->SetType(3, 2);
    ConfigData->Sensors->SetDescription(3, "Stairs");
    Main->RebuildDeviceTree();
    Main->SensorFrame()->GotoAddress(3);
    Main->EditCopyDevice->trigger();

    // Paste over a cell being edited: the whole copied record arrives, the
    // typed text does not land on top of it.
    TypeDescription(7, "Typed");
    Main->EditPasteDevice->trigger();
    EXPECT_EQ(ConfigData->Sensors->GetDescription(7), "Stairs");

    // A deleted sensor does not come back with the text typed before.
    TypeDescription(3, "Lobby");
    Prompts.Answer(mrYes);
    Main->ToolsDeleteAllSensors->trigger();
    EXPECT_EQ(ConfigData->Sensors->GetDescription(3), "");
    EXPECT_EQ(ConfigData->Sensors->GetDescription(7), "");
}
