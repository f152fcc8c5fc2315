#pragma once
// Builds .UDF file images byte by byte from the file layout and the default
// tables, independently of the configuration classes, for golden-bytes tests.
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace udfimage {

constexpr int RecordSize = 60;

struct Image {
    std::vector<uint8_t> Bytes;
    uint8_t* Record(int number) { return &Bytes[(number - 1) * RecordSize]; } // 1-based
};

inline void PutWord(uint8_t* r, int offset, int value)
{
    r[offset] = value & 0xFF;
    r[offset + 1] = (value >> 8) & 0xFF;
}

inline void HeaderRecord(uint8_t* r, int version, int panelType, const std::string& title)
{
    r[0] = 0;
    r[1] = static_cast<uint8_t>(title.size());
    std::memcpy(r + 2, title.data(), title.size());
    r[42] = version / 100;
    r[43] = version % 100;
    r[44] = panelType;
}

inline void FirstSetupRecord(uint8_t* r)
{
    r[0] = 1;
    PutWord(r, 44, 3);
    r[46] = 1;
    r[48] = 1;
    r[54] = 1;
    PutWord(r, 55, 0x8000);
    r[57] = 1;
    PutWord(r, 58, 30);
}

inline void SecondSetupRecord(uint8_t* r, bool flags)
{
    r[0] = 1;
    r[1] = 1;
    r[13] = flags ? 0 : 1;
    PutWord(r, 19, 60);
    r[26] = 1;
    r[30] = flags;
    r[31] = flags;
    r[46] = flags;
}

inline void OutputsRecord(uint8_t* r, bool vds)
{
    r[0] = 2;
    const int types[6] = { vds ? 3 : 0, 0, 1, 1, 1, 1 };
    const int rules[6] = { vds ? 6 : 1, 1, 4, 5, 2, 3 };
    for (int n = 1; n <= 6; ++n) {
        r[2 * n - 1] = types[n - 1];
        r[2 * n] = 1; // base rule
        int bit = rules[n - 1] - 1;
        r[38 + 3 * (n - 1) + bit / 8] |= 1 << (bit % 8);
    }
}

inline void DeviceRecord(uint8_t* r)
{
    r[0] = 3;
    r[22] = 1;
    r[24] = 1;
    r[25] = r[26] = r[27] = r[28] = 100;
    r[31] = 1;
    r[32] = 1;
}

inline void RuleRecord(uint8_t* r, int rule, bool vds)
{
    r[0] = 4;
    r[4] = r[6] = r[8] = 1;
    int type = 0, flags = 7;
    switch (rule) {
    case 2:
        type = 3, flags = 2;
        break;
    case 3:
        type = 4, flags = 0;
        break;
    case 4:
        type = 2, flags = 0;
        break;
    case 5:
        type = 5, flags = 5;
        break;
    case 6:
        if (vds) {
            flags = 5;
            for (int z = 1; z <= 16; ++z)
                r[z + 8] = 1;
        }
        break;
    case 7:
        type = 6, flags = 0;
        break;
    }
    r[1] = type;
    r[2] = flags;
}

inline void GsmRecord(uint8_t* r)
{
    r[0] = 6;
    r[22] = r[23] = r[24] = 1;
}

// The default configuration of the current version (303 records).
inline Image DefaultImage(bool flags)
{
    Image img { std::vector<uint8_t>(303 * RecordSize, 0) };
    HeaderRecord(img.Record(1), 109, 3, "PX10 Panel Configuration File");
    FirstSetupRecord(img.Record(2));
    SecondSetupRecord(img.Record(3), flags);
    OutputsRecord(img.Record(4), flags);
    for (int i = 0; i < 198; ++i)
        DeviceRecord(img.Record(5 + i));
    for (int rule = 1; rule <= 64; ++rule)
        RuleRecord(img.Record(202 + rule), rule, flags);
    for (int z = 1; z <= 32; ++z)
        img.Record(266 + z)[0] = 5;
    for (int i = 1; i <= 5; ++i)
        GsmRecord(img.Record(298 + i));
    return img;
}

// An older layout: header, first setup record, shared setup/outputs record,
// 198 devices, `rules` CBE rules and 32 zone texts (no GSM items).
struct OldImage {
    Image Img;
    int Rules;
    uint8_t* Header() { return Img.Record(1); }
    uint8_t* FirstSetup() { return Img.Record(2); }
    uint8_t* Shared() { return Img.Record(3); }
    uint8_t* Sensor(int a) { return Img.Record(3 + a); }
    uint8_t* Module(int a) { return Img.Record(102 + a); }
    uint8_t* Rule(int r) { return Img.Record(201 + r); }
    uint8_t* Zone(int z) { return Img.Record(201 + Rules + z); }
};

inline OldImage OldDefaultImage(int version)
{
    int rules = version < 104 ? 32 : 64;
    OldImage old { Image { std::vector<uint8_t>((3 + 198 + rules + 32) * RecordSize, 0) }, rules };
    HeaderRecord(old.Header(), version, 3, "PX10 Panel Configuration File");
    FirstSetupRecord(old.FirstSetup());
    OutputsRecord(old.Shared(), false);
    for (int a = 1; a <= 99; ++a) {
        DeviceRecord(old.Sensor(a));
        DeviceRecord(old.Module(a));
    }
    for (int r = 1; r <= rules; ++r)
        RuleRecord(old.Rule(r), r, false);
    for (int z = 1; z <= 32; ++z)
        old.Zone(z)[0] = 5;
    return old;
}

} // namespace udfimage
