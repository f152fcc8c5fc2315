#include "DeviceListFrame.h"

#include "CodePage.h"
#include "Ivdictio.h"
#include "PX10ConfigData.h"

#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

DeviceListFrame::DeviceListFrame(bool modules, QWidget* parent)
    : QWidget(parent)
    , FModules(modules)
{
    setObjectName(modules ? "frmModuleEdit1" : "frmSensorEdit1");
    auto* layout = new QVBoxLayout(this);
    FTitle = new QLabel(QString::fromStdString(Translate(modules ? "Modules" : "Sensors")), this);
    QFont f = FTitle->font();
    f.setBold(true);
    f.setPointSizeF(f.pointSizeF() * 1.4);
    FTitle->setFont(f);
    layout->addWidget(FTitle);
    FList = new QListWidget(this);
    FList->setObjectName(modules ? "dbgModuleEdit" : "dbgSensorEdit");
    layout->addWidget(FList);
    for (int a = 1; a <= TPX10ConfigDeviceConfiguration::AddressCount; ++a)
        FList->addItem(QString());
    FList->setCurrentRow(0);
    connect(FList, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0 && OnCurrentAddressChanged)
            OnCurrentAddressChanged(row + 1);
    });
}

TPX10ConfigDeviceConfiguration* DeviceListFrame::Devices() const
{
    if (!FConfig)
        return nullptr;
    return FModules ? FConfig->Modules.get() : FConfig->Sensors.get();
}

void DeviceListFrame::LoadFromConfig()
{
    TPX10ConfigDeviceConfiguration* d = Devices();
    for (int a = 1; a <= TPX10ConfigDeviceConfiguration::AddressCount; ++a) {
        QString text = QString("%1").arg(FModules ? a + 100 : a, 3);
        if (d && d->GetType(a) != 0) {
            text += QString("   type %1").arg(d->GetType(a));
            if (d->GetTorqType(a) != 0)
                text += QString("   TORQ %1").arg(d->GetTorqType(a));
            if (d->GetChannel(a) != 0)
                text += QString("   channel %1").arg(d->GetChannel(a));
            text += "   " + platform::Cp1252ToQString(d->GetDescription(a));
        } else
            text += "   -";
        FList->item(a - 1)->setText(text);
    }
}

int DeviceListFrame::CurrentAddress() const
{
    return std::max(0, FList->currentRow()) + 1;
}

void DeviceListFrame::GotoAddress(int address)
{
    if (address >= 1 && address <= TPX10ConfigDeviceConfiguration::AddressCount)
        FList->setCurrentRow(address - 1);
}

std::pair<int, int> DeviceListFrame::DeleteRange(
    const TPX10ConfigDeviceConfiguration& d, bool modules, int from, int to)
{
    if (!modules)
        return { from, to };
    auto multi = [&](int a) { return d.GetTorqType(a) == 133 || d.GetTorqType(a) == 134; };
    while (from > 1 && multi(from) && d.GetChannel(from) > 1)
        --from;
    while (to < TPX10ConfigDeviceConfiguration::AddressCount && multi(to) && multi(to + 1)
        && d.GetChannel(to + 1) > 1)
        ++to;
    return { from, to };
}

void DeviceListFrame::DeleteDevices(int from, int to)
{
    TPX10ConfigDeviceConfiguration* d = Devices();
    if (!d)
        return;
    auto [first, last] = DeleteRange(*d, FModules, from, to);
    for (int a = first; a <= last; ++a) {
        d->ResetDevice(a);
        if (OnDeviceChanged)
            OnDeviceChanged(a);
    }
    LoadFromConfig();
}
