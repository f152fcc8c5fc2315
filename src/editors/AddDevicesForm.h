#pragma once
// Add Devices: a range of loop addresses with a zone, protocol, type and
// function, added at once. The dialog knows nothing of sensors or modules:
// the caller fills its lists and adds the devices through its callbacks.
#include "DeviceTexts.h"

#include <QDialog>

#include <functional>
#include <string>
#include <utility>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class TSpinControl;

class TfrmAddDevices : public QDialog {
    Q_OBJECT
public:
    // The caller fills the lists it is given (null ones are left alone) for
    // the protocol and type texts selected.
    using TFillLists = std::function<void(TTextList* Protocols, TTextList* Types, TTextList* Functions,
        const std::string& ProtocolText, const std::string& TypeText)>;
    using TSelectAddress = std::function<void(int Address)>;
    using TAddDevices = std::function<void(int StartAddress, int EndAddress, int Zone,
        const std::string& Protocol, const std::string& Type, const std::string& Function, bool Overwrite)>;
    // The zones a function allows ({1, 16} when there are no functions).
    using TZoneRange = std::function<std::pair<int, int>(const std::string& Function)>;

    explicit TfrmAddDevices(QWidget* Parent = nullptr);

    // Shows the dialog modally; the result is the modal result.
    int Execute(const QString& Caption, int StartAddress, TFillLists FillLists, TSelectAddress SelectAddress,
        TAddDevices AddDevices, int ZoneTypeIndex, int BrimLimit, TZoneRange ZoneRange = {});
    // Everything Execute does before the dialog is shown.
    void Prepare(const QString& Caption, int StartAddress, TFillLists FillLists, TSelectAddress SelectAddress,
        TAddDevices AddDevices, int BrimLimit, TZoneRange ZoneRange = {});

    QLineEdit* edtStartAddress;
    QLineEdit* edtEndAddress;
    TSpinControl* cseZone;
    QComboBox* cboProtocol;
    QComboBox* cboDeviceTypes;
    QComboBox* cboFunction;
    QLabel* lblFunction;
    QCheckBox* cbxOverwrite;
    QPushButton* btnOK;
    QPushButton* btnCancel;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void AddressChanged(bool First);
    void ProtocolChanged();
    void TypeChanged();
    void FunctionChanged();
    void ShowFunctions(const TTextList& Functions);
    void btnOKClick();
    std::string Selected(const QComboBox* Box) const;

    TFillLists FFillLists;
    TSelectAddress FSelectAddress;
    TAddDevices FAddDevices;
    TZoneRange FZoneRange;
    int FBrimLimit = -1;
};
