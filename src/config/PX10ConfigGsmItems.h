#pragma once
// GSM items 1 to 5: a telephone number and the events reported to it.
#include <string>

#include "PX10ConfigRecordBlock.h"

class TPX10ConfigGsmItems {
public:
    static constexpr int ItemCount = 5;

    TPX10ConfigGsmItems();

    std::string GetNumber(int Item) const;
    void SetNumber(int Item, const std::string& Text);
    bool GetAlarm(int Item) const;
    void SetAlarm(int Item, bool On);
    bool GetFault(int Item) const;
    void SetFault(int Item, bool On);
    bool GetPrealarm(int Item) const;
    void SetPrealarm(int Item, bool On);
    bool GetControls(int Item) const;
    void SetControls(int Item, bool On);
    bool GetGeneralDisable(int Item) const;
    void SetGeneralDisable(int Item, bool On);
    bool GetZoneDisable(int Item) const;
    void SetZoneDisable(int Item, bool On);
    bool GetDeviceDisable(int Item) const;
    void SetDeviceDisable(int Item, bool On);
    bool GetSystemDisable(int Item) const;
    void SetSystemDisable(int Item, bool On);
    int GetQtyAlarm(int Item) const;
    void SetQtyAlarm(int Item, int Value);
    int GetQtyPreAlarm(int Item) const;
    void SetQtyPreAlarm(int Item, int Value);
    int GetQtyFault(int Item) const;
    void SetQtyFault(int Item, int Value);

    bool IsModified() const;
    void ClearModified();
    // Files before version 108 hold no GSM items: nothing is read.
    void ReadFromFile(platform::File& File, int Version);
    void WriteToFile(platform::File& File) const;
    // Record by record: the target becomes modified only where it differed.
    void CopyTo(TPX10ConfigGsmItems& Target) const;

    TPX10ConfigRecord* GetRecord(int Item) { return Records.At(Item - 1); }
    const TPX10ConfigRecord* GetRecord(int Item) const { return Records.At(Item - 1); }

private:
    using RecordBlock = TPX10ConfigRecordBlock<ItemCount>;
    struct Blank { };
    explicit TPX10ConfigGsmItems(Blank) { }
    static const RecordBlock::Records& Defaults();

    RecordBlock Records;
};
