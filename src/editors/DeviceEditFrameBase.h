#pragma once
// What the sensor and module frames share: one record grid over their data
// set filling the frame, bold cells with the current row highlighted, column
// widths, per-row pick lists, moving to an address, the Add Devices dialog
// and the messages of a range of added devices.
#include "DeviceDataSets.h"
#include "ConfigPointer.h"
#include "EditorInterfaces.h"

#include <QWidget>

#include <functional>

class QListWidget;
class TfrmAddDevices;
class TRecordGrid;
struct TCellEdit;

class TDeviceEditFrameBase : public QWidget, public DeviceEditFrame {
    Q_OBJECT
public:
    QWidget* Widget() override { return this; }
    void SetConfig(TPX10ConfigData* Config) override;
    void CloseDataSet() override;
    void Resync() override;
    void CommitEdit() override;
    // The current row's address: bookmark + 1, 99 without one.
    int CurrentAddress() const override;
    // Moves the grid to the row of `Address` (nothing when it is there already).
    void GotoAddress(int Address) override;
    void UpdateColumns() override;
    void DevicePasted(int Address) override;

    TRecordGrid* Grid() const { return FGrid; }
    // The hidden list box that carries the vocabulary `Name`, null for a name
    // the frame has not. A list box of product designations is made when
    // first asked for: until then its vocabulary is read as given.
    QListWidget* VocabularyListBox(const QString& Name);
    TDeviceDataSet* DataSet() const { return FDataSet; }
    // The dialog Add/Change opens, asked for when it opens (the main window
    // makes it once, when first needed).
    void SetAddDevicesDialog(std::function<TfrmAddDevices*()> Dialog)
    {
        FAddDevicesDialog = std::move(Dialog);
    }
    // The "..." button of a CBE rule cell: the device identifier (sensor
    // address, module address + 100). Empty until the range entry exists.
    std::function<void(int DeviceId)> OnEditCBERange;

protected:
    // After a language change the translated vocabularies are read again.
    void changeEvent(QEvent* Event) override;
    TDeviceEditFrameBase(
        TDeviceDataSet* DataSet, const char* GridName, const QString& AccessibleName, QWidget* Parent);
    // The grid's edit masks, per-row editing and widths as the kind's column
    // table gives them; `RowOffer` is the offer of the row at an address,
    // `Lists` the vocabularies the cells show.
    template <class TColumns, class TRowOfferOf, class TListsOf>
    void SetUpColumns(const TColumns& Columns, TRowOfferOf RowOffer, TListsOf Lists)
    {
        QList<int> widths;
        for (const auto& c : Columns) {
            const int column = TRecordDataSet::ColumnOfField(c.Field);
            widths << c.Width;
            if (c.Mask)
                SetColumnEditMask(column, c.Mask);
            if (c.Offer)
                SetColumnOffer(column, [RowOffer, Offer = c.Offer](int a) { return RowOffer(a).*Offer; });
            if (c.Entries)
                SetColumnEntries(column, [Lists, Entries = c.Entries] { return Entries(Lists()); });
        }
        SetColumnWidths(widths);
    }
    // A hidden list box that only carries a vocabulary; `List` is read back
    // from it. The window's translator translates `Words` lists, so theirs
    // are made at once; the others hold product designations that read the
    // same in every language.
    void AddListBox(const char* Name, TTextList* List, bool Words = false);
    // The vocabularies as the list boxes hold them now.
    void ReadListBoxes();
    // A column whose editing follows the current row's offer.
    void SetColumnOffer(int Column, std::function<TColumnOffer(int Address)> Offer);
    void SetColumnEditMask(int Column, const char* Mask);
    // The entries a column's pick lists may offer, in the language shown.
    void SetColumnEntries(int Column, std::function<TTextList()> Entries);
    // Kept by the grid, which widens each to its heading whenever it is retitled.
    void SetColumnWidths(const QList<int>& Widths);
    // Every load gives the columns their widths again.
    void RestoreColumnWidths();
    TPX10ConfigData* Config() { return FConfig.get(); }
    const TPX10ConfigData* Config() const { return FConfig.get(); }
    bool IsOpen() const;
    void DeviceChanged(int Address);
    // A range of devices is added: messages are collected and shown once each.
    void BeginAdding();
    void EndAdding();
    TfrmAddDevices* AddDevicesDialog() const { return FAddDevicesDialog ? FAddDevicesDialog() : nullptr; }
    virtual void CurrentRowChanged(int Address);
    virtual void FieldChanged(int FieldNo, int Address);
    // The CBE rule field; its "..." opens the range entry for this identifier.
    virtual int CBERuleField() const = 0;
    virtual int DeviceId(int Address) const = 0;

private:
    void EditButtonClick(int Column, int RecNo);

    TDeviceDataSet* FDataSet;
    TRecordGrid* FGrid;
    TConfigPointer<TPX10ConfigData> FConfig = nullptr;
    std::function<TfrmAddDevices*()> FAddDevicesDialog;
    int FCurrentAddress = 0;
    struct TVocabulary {
        const char* Name;
        TTextList* List;
        QListWidget* Box;
    };
    QListWidget* MakeListBox(TVocabulary& Vocabulary, bool Words);
    std::vector<TVocabulary> FVocabularies;
};

TCellEdit CellEditOf(const TColumnOffer& Offer);
