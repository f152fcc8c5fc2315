#include "Zonetexteditform.h"

#include "DialogKeys.h"
#include "Ivwindows.h"
#include "ExceptionBox.h"
#include "Ivdictio.h"
#include "PX10ConfigData.h"
#include "Prompts.h"
#include "RecordGrid.h"
#include "WindowFit.h"
#include "Zonedataset.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QVBoxLayout>

TfrmZoneText::TfrmZoneText(QWidget* parent)
    : QDialog(parent)
{
    setObjectName("frmZoneText");
    setWindowTitle(IvNative("Zone Text"));
    DataSet = new TZoneDataSet(this);
    dbgZoneText = new TRecordGrid(IvNative("Zone Text"), this);
    dbgZoneText->setObjectName("dbgZoneText");
    IvSetDataControl(dbgZoneText); // headings come from the data set
    dbgZoneText->SetDataSet(DataSet);
    // Esc closes the window with what is typed kept (reject commits it).
    dbgZoneText->SetEscapeToWindow(true);
    DisableDefaultButton(this); // Enter would ask to clear every zone text
    // In the current row the zone number of the pair being edited is marked.
    dbgZoneText->OnDrawColumnCell = [this](QStyleOptionViewItem& option, const QModelIndex& index) {
        const QModelIndex current = dbgZoneText->currentIndex();
        if (!current.isValid() || index.row() != current.row())
            return;
        const int marked = current.column() < 2 ? 0 : 2;
        if (index.column() == marked)
            option.state |= QStyle::State_Selected;
        else
            option.state &= ~QStyle::State_Selected;
    };
    btnClearAllZoneText = new QPushButton(IvNative("Clear ALL Zone Text"), this);
    btnClearAllZoneText->setObjectName("btnClearAllZoneText");
    connect(btnClearAllZoneText, &QPushButton::clicked, this,
        [this] { Guarded([this] { btnClearAllZoneTextClick(); }); });
    btnClose = new QPushButton(IvNative("&Close"), this);
    btnClose->setObjectName("btnClose");
    connect(btnClose, &QPushButton::clicked, this, [this] {
        Guarded([this] { PostZoneEdits(); });
        accept();
    });

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btnClearAllZoneText);
    buttons->addStretch();
    buttons->addWidget(btnClose);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(dbgZoneText, 1);
    layout->addLayout(buttons);
    dbgZoneText->SetColumnWidths({ 40, 172, 40, 172 });
    const int rowHeight = dbgZoneText->verticalHeader()->defaultSectionSize();
    // Every zone in view where the screen has room; the grid scrolls where not.
    resize(BoundedToScreen(this,
        QSize(dbgZoneText->ColumnsWidth() + dbgZoneText->verticalHeader()->sizeHint().width() + 40,
            TZoneDataSet::Rows * rowHeight + dbgZoneText->horizontalHeader()->sizeHint().height() + 80)));
    IvAddTranslator(this);
}

void TfrmZoneText::SetConfig(TPX10ConfigData* config)
{
    DataSet->SetConfigPart(config ? config->ZoneTexts.get() : nullptr);
}

int TfrmZoneText::ShowModal()
{
    return exec();
}

void TfrmZoneText::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    Guarded([this] {
        if (!DataSet->IsOpen())
            DataSet->Open();
        // The text of the current row is what the user edits first.
        const QModelIndex current = dbgZoneText->currentIndex();
        if (!current.isValid() || current.column() == TZoneDataSet::fldZone - 1
            || current.column() == TZoneDataSet::fldZone2 - 1)
            dbgZoneText->setCurrentIndex(DataSet->index(current.isValid() ? current.row() : 0,
                current.isValid() && current.column() >= 2 ? TZoneDataSet::fldText2 - 1
                                                           : TZoneDataSet::fldText - 1));
        dbgZoneText->setFocus();
    });
}

void TfrmZoneText::PostZoneEdits()
{
    dbgZoneText->CommitEdit();
}

void TfrmZoneText::btnClearAllZoneTextClick()
{
    PostZoneEdits();
    if (!DataSet->ConfigPart())
        return;
    if (platform::CurrentPrompts().MessageDlg(Translate("Delete ALL zone text ?"),
            platform::MsgDlgType::mtConfirmation, platform::mbYes | platform::mbNo)
        != platform::mrYes)
        return;
    for (int zone = 1; zone <= TPX10ConfigZoneText::ZoneCount; ++zone)
        DataSet->ConfigPart()->SetZoneText(zone, std::string());
    DataSet->Refresh();
}

void TfrmZoneText::reject()
{
    Guarded([this] { PostZoneEdits(); });
    accept();
}
