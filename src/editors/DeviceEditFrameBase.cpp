#include "DeviceEditFrameBase.h"

#include "Ivmulti.h"

#include "ExceptionBox.h"
#include "PX10ConfigDeviceConfiguration.h"
#include "RecordGrid.h"

#include <QEvent>
#include <QHeaderView>
#include <QListWidget>
#include <QVBoxLayout>

TCellEdit CellEditOf(const TColumnOffer& Offer)
{
    TCellEdit edit;
    switch (Offer.Style) {
    case TColumnOffer::Auto:
        edit.ButtonStyle = TCellEdit::cbsAuto;
        break;
    case TColumnOffer::Ellipsis:
        edit.ButtonStyle = TCellEdit::cbsEllipsis;
        break;
    default:
        edit.ButtonStyle = TCellEdit::cbsNone;
        break;
    }
    for (const std::string& s : Offer.Items)
        edit.PickList << QString::fromStdString(s);
    edit.Codes = QList<int>(Offer.Codes.begin(), Offer.Codes.end());
    return edit;
}

TDeviceEditFrameBase::TDeviceEditFrameBase(
    TDeviceDataSet* DataSet, const char* GridName, const QString& AccessibleName, QWidget* Parent)
    : QWidget(Parent)
    , FDataSet(DataSet)
{
    FDataSet->setParent(this);
    setMinimumSize(579, 466);
    FGrid = new TRecordGrid(AccessibleName, this);
    FGrid->setObjectName(GridName);
    // Cells are data and their open editor lists are built translated; the
    // headings come from the data set.
    IvSetDataControl(FGrid);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(FGrid);
    FGrid->SetDataSet(FDataSet);
    FGrid->SetHighlightCurrentRow(true);
    QFont bold = FGrid->horizontalHeader()->font();
    bold.setBold(true);
    FGrid->horizontalHeader()->setFont(bold);
    FGrid->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    FGrid->OnDrawColumnCell
        = [](QStyleOptionViewItem& Option, const QModelIndex&) { Option.font.setBold(true); };
    FGrid->OnEditButtonClick = [this](int Column, int RecNo) { EditButtonClick(Column, RecNo); };
    connect(FDataSet, &TRecordDataSet::CurrentRecordChanged, this,
        [this](int RecNo) { Guarded([&] { CurrentRowChanged(RecNo); }); });
    connect(FDataSet, &TRecordDataSet::FieldChange, this,
        [this](int FieldNo, int RecNo) { Guarded([&] { FieldChanged(FieldNo, RecNo); }); });
}

void TDeviceEditFrameBase::SetColumnWidths(const QList<int>& Widths)
{
    FGrid->SetColumnWidths(Widths);
}

void TDeviceEditFrameBase::RestoreColumnWidths()
{
    FGrid->RestoreColumnWidths();
}

void TDeviceEditFrameBase::SetColumnEditMask(int Column, const char* Mask)
{
    FGrid->SetColumnEditMask(Column, QString::fromLatin1(Mask));
}

void TDeviceEditFrameBase::SetColumnEntries(int Column, std::function<TTextList()> Entries)
{
    FGrid->SetColumnEntries(Column, [Entries = std::move(Entries)] {
        QStringList out;
        for (const std::string& s : Entries())
            out << QString::fromStdString(s);
        return out;
    });
}

void TDeviceEditFrameBase::AddListBox(const char* Name, TTextList* List, bool Words)
{
    FVocabularies.push_back({ Name, List, nullptr });
    // A list box costs as much as a grid row of widgets: the frames have
    // two dozen, and the start-up waits for them.
    if (Words)
        MakeListBox(FVocabularies.back(), true);
}

QListWidget* TDeviceEditFrameBase::MakeListBox(TVocabulary& Vocabulary, bool Words)
{
    auto* box = new QListWidget(this);
    box->setObjectName(Vocabulary.Name);
    box->hide();
    // Product designations (types, protocols, levels) read the same in every language.
    if (!Words)
        IvSetDataControl(box);
    for (const std::string& s : *Vocabulary.List)
        box->addItem(QString::fromStdString(s));
    Vocabulary.Box = box;
    return box;
}

QListWidget* TDeviceEditFrameBase::VocabularyListBox(const QString& Name)
{
    for (TVocabulary& v : FVocabularies)
        if (Name == QLatin1String(v.Name))
            return v.Box ? v.Box : MakeListBox(v, false);
    return nullptr;
}

void TDeviceEditFrameBase::ReadListBoxes()
{
    for (const TVocabulary& v : FVocabularies) {
        if (!v.Box)
            continue; // still the vocabulary as given
        v.List->clear();
        for (int i = 0; i < v.Box->count(); ++i)
            v.List->push_back(v.Box->item(i)->text().toStdString());
    }
}

void TDeviceEditFrameBase::SetColumnOffer(int Column, std::function<TColumnOffer(int Address)> Offer)
{
    FGrid->SetColumnEdit(
        Column, [this, Offer](int RecNo) { return IsOpen() ? CellEditOf(Offer(RecNo)) : TCellEdit {}; });
}

void TDeviceEditFrameBase::SetConfig(TPX10ConfigData* Config)
{
    FConfig = Config;
    FDataSet->SetConfigPart(Config);
}

bool TDeviceEditFrameBase::IsOpen() const
{
    return FConfig && FDataSet->IsOpen();
}

void TDeviceEditFrameBase::CloseDataSet()
{
    FDataSet->Close();
    FConfig = nullptr;
}

void TDeviceEditFrameBase::Resync()
{
    FDataSet->Refresh();
}

void TDeviceEditFrameBase::CommitEdit()
{
    FGrid->CommitEdit();
}

int TDeviceEditFrameBase::CurrentAddress() const
{
    const int bookmark = FDataSet->GetBookmark();
    return bookmark < 0 ? TPX10ConfigDeviceConfiguration::AddressCount : bookmark + 1;
}

void TDeviceEditFrameBase::GotoAddress(int Address)
{
    if (!IsOpen() || Address < 1 || Address > FDataSet->GetRecordCount())
        return;
    if (FDataSet->GetBookmark() != Address - 1)
        FDataSet->GotoBookmark(Address - 1);
}

// Pick lists are asked of the row whenever a cell editor opens, so coming
// into view only needs the texts read again.
void TDeviceEditFrameBase::UpdateColumns()
{
    if (IsOpen())
        FDataSet->Refresh();
}

void TDeviceEditFrameBase::changeEvent(QEvent* Event)
{
    QWidget::changeEvent(Event);
    // Queued: the window's translator may still be translating the list boxes.
    if (Event->type() == QEvent::LanguageChange)
        QMetaObject::invokeMethod(
            this, [this] { Guarded([this] { LoadFromConfig(); }); }, Qt::QueuedConnection);
}

void TDeviceEditFrameBase::DevicePasted(int Address)
{
    DeviceChanged(Address);
    Resync();
}

void TDeviceEditFrameBase::DeviceChanged(int Address)
{
    if (OnDeviceChanged)
        OnDeviceChanged(Address);
}

void TDeviceEditFrameBase::CurrentRowChanged(int Address)
{
    FCurrentAddress = Address;
    if (OnCurrentAddressChanged)
        OnCurrentAddressChanged(Address);
}

void TDeviceEditFrameBase::FieldChanged(int, int Address)
{
    DeviceChanged(Address);
}

void TDeviceEditFrameBase::BeginAdding()
{
    FDataSet->CollectMessages();
}

void TDeviceEditFrameBase::EndAdding()
{
    for (const TFieldMessage& m : FDataSet->TakeMessages())
        FDataSet->Report(m);
    FDataSet->Refresh();
}

void TDeviceEditFrameBase::EditButtonClick(int Column, int RecNo)
{
    const int field = TRecordDataSet::FieldOfColumn(Column);
    if (field != CBERuleField() || !IsOpen())
        return;
    if (FDataSet->ReadField(field, RecNo).toString().isEmpty())
        return;
    if (OnEditCBERange) {
        OnEditCBERange(DeviceId(RecNo));
        LoadFromConfig();
    }
}
