#include "Zonedataset.h"

#include "CodePage.h"
#include "PX10ConfigZoneText.h"

TZoneDataSet::TZoneDataSet(QObject* Parent)
    : TConfigDataSet(true, Parent)
{
    AddField("Zone", TFieldType::ftInteger, 0, true);
    AddField("Text", TFieldType::ftString, TextSize);
    AddField("Zone2", TFieldType::ftInteger, 0, true);
    AddField("Text2", TFieldType::ftString, TextSize);
    SetFieldTitle(fldZone2, "Zone");
    SetFieldTitle(fldText2, "Text");
}

QVariant TZoneDataSet::GetFieldData(int FieldNo, int RecNo) const
{
    switch (FieldNo) {
    case fldZone:
        return RecNo;
    case fldZone2:
        return Rows + RecNo;
    case fldText:
    case fldText2: {
        const int zone = FieldNo == fldText ? RecNo : Rows + RecNo;
        return platform::Cp1252ToQString(ConfigPart()->GetZoneText(zone).substr(0, TextSize));
    }
    default:
        return {};
    }
}

void TZoneDataSet::SetFieldData(int FieldNo, int RecNo, const QVariant& Value)
{
    if (FieldNo != fldText && FieldNo != fldText2)
        return;
    const int zone = FieldNo == fldText ? RecNo : Rows + RecNo;
    ConfigPart()->SetZoneText(zone, platform::QStringToCp1252(Value.toString()).substr(0, TextSize));
}
