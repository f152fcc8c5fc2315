#pragma once
// A small record data set over the sensor part of a real configuration:
// a read-only address, a description, a zone checked against 1 to 16 and a
// protocol chosen from a list.
#include "Ivdictio.h"
#include "CodePage.h"
#include "PX10ConfigData.h"
#include "RecordDataSet.h"
#include "WidgetErrors.h"

#include <QCoreApplication>
#include <QStringList>

#include <memory>
#include <vector>

class TTestSensorDataSet : public TConfigDataSet<TPX10ConfigDeviceConfiguration> {
public:
    enum { fnAddress = 1, fnDescription, fnZone, fnProtocol };
    inline static const QStringList Protocols = { " - ", "TORQ", "BRIM" };

    TTestSensorDataSet()
    {
        AddField("Address", TFieldType::ftInteger, 0, true);
        AddField("Description", TFieldType::ftString, 20);
        AddField("Zone", TFieldType::ftInteger);
        AddField("Protocol", TFieldType::ftString, 10);
    }
    int GetRecordCount() const override { return TPX10ConfigDeviceConfiguration::AddressCount; }

    bool ThrowInConversion = false;

protected:
    QVariant GetFieldData(int FieldNo, int a) const override
    {
        const TPX10ConfigDeviceConfiguration& part = *ConfigPart();
        if (ThrowInConversion && FieldNo == fnZone)
            throw EConvertError("'x' is not a valid integer value");
        switch (FieldNo) {
        case fnAddress:
            return a;
        case fnDescription:
            return platform::Cp1252ToQString(part.GetDescription(a));
        case fnZone:
            return part.GetZone(a);
        case fnProtocol:
            return Protocols[part.GetTorqType(a) ? 1 : part.GetType(a) ? 2 : 0];
        }
        return {};
    }
    void SetFieldData(int FieldNo, int a, const QVariant& Value) override
    {
        TPX10ConfigDeviceConfiguration& part = *ConfigPart();
        if (ThrowInConversion)
            throw EConvertError("'x' is not a valid integer value");
        switch (FieldNo) {
        case fnDescription:
            part.SetDescription(a, platform::QStringToCp1252(Value.toString()));
            break;
        case fnZone:
            if (Value.toInt() >= 1 && Value.toInt() <= 16)
                part.SetZone(a, Value.toInt());
            else
                ShowMessageLater(Translate("Invalid zone entered."), platform::MsgDlgType::mtWarning);
            break;
        case fnProtocol: {
            const int p = int(Protocols.indexOf(Value.toString()));
            part.SetTorqType(a, p == 1 ? 20 : 0);
            part.SetType(a, p > 0 ? 2 : 0);
            break;
        }
        }
    }
    // The protocol's code is its position in Protocols.
    QVariant GetFieldCode(int FieldNo, int a) const override
    {
        return FieldNo == fnProtocol ? QVariant(int(Protocols.indexOf(GetFieldData(FieldNo, a).toString())))
                                     : QVariant();
    }
    void SetFieldCode(int FieldNo, int a, int Code) override
    {
        if (FieldNo == fnProtocol && Code >= 0 && Code < Protocols.size())
            SetFieldData(FieldNo, a, Protocols[Code]);
    }
};

// Every byte and modified mark of a configuration part's records.
inline std::vector<int> Snapshot(const TPX10ConfigDeviceConfiguration& part)
{
    std::vector<int> bytes;
    for (int a = 1; a <= TPX10ConfigDeviceConfiguration::AddressCount; ++a) {
        const TPX10ConfigRecord* r = part.GetRecord(a);
        for (int i = 0; i < TPX10ConfigRecord::DataSize; ++i)
            bytes.push_back(r->GetByte(i));
        bytes.push_back(r->IsModified());
    }
    return bytes;
}

// Collects what reaches the widget error sink while it lives.
struct CapturedErrors {
    std::vector<std::string> Messages;
    TWidgetErrorSink Previous;
    CapturedErrors()
    {
        Previous = SetWidgetErrorSink([this](const std::exception& e) { Messages.push_back(e.what()); });
    }
    ~CapturedErrors() { SetWidgetErrorSink(Previous); }
};

inline std::unique_ptr<TPX10ConfigData> NewConfig()
{
    return std::make_unique<TPX10ConfigData>(false, false, true, false);
}

inline void ProcessEvents()
{
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
}
