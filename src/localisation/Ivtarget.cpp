#include "Ivtarget.h"

#include "Ivdictio.h"

#include <strings.h>

namespace {

bool SameName(const std::string& a, const std::string& b)
{
    return a.size() == b.size() && strncasecmp(a.c_str(), b.c_str(), a.size()) == 0;
}

// The class library's typed values: list begin/end, integers and strings.
enum : uint8_t {
    vaNull = 0,
    vaList = 1,
    vaInt8 = 2,
    vaInt16 = 3,
    vaInt32 = 4,
    vaString = 6,
    vaLString = 12,
    vaUTF8String = 20
};

class ValueReader {
public:
    explicit ValueReader(const std::string& data)
        : FData(data)
    {
    }
    uint8_t Peek() const
    {
        Need(1);
        return static_cast<uint8_t>(FData[FPos]);
    }
    void ListBegin() { Expect(vaList); }
    void ListEnd() { Expect(vaNull); }
    bool EndOfList() const { return Peek() == vaNull; }
    int32_t Integer()
    {
        switch (Byte()) {
        case vaInt8:
            return static_cast<int8_t>(Bytes(1)[0]);
        case vaInt16:
            return static_cast<int16_t>(Little(2));
        case vaInt32:
            return static_cast<int32_t>(Little(4));
        default:
            throw EIvMulti("Invalid property value");
        }
    }
    std::string String()
    {
        switch (Byte()) {
        case vaString:
            return Bytes(static_cast<uint8_t>(Bytes(1)[0]));
        case vaLString:
        case vaUTF8String:
            return Bytes(Little(4));
        default:
            throw EIvMulti("Invalid property value");
        }
    }

private:
    void Need(size_t n) const
    {
        if (FData.size() - FPos < n)
            throw EIvMulti("Stream read error");
    }
    uint8_t Byte() { return static_cast<uint8_t>(Bytes(1)[0]); }
    void Expect(uint8_t value)
    {
        if (Byte() != value)
            throw EIvMulti("Invalid property value");
    }
    uint32_t Little(size_t n)
    {
        std::string b = Bytes(n);
        uint32_t v = 0;
        for (size_t i = n; i-- > 0;)
            v = (v << 8) | static_cast<uint8_t>(b[i]);
        return v;
    }
    std::string Bytes(size_t n)
    {
        Need(n);
        std::string out = FData.substr(FPos, n);
        FPos += n;
        return out;
    }
    const std::string& FData;
    size_t FPos = 0;
};

void WriteInteger(std::string& out, int32_t v)
{
    if (v >= -128 && v <= 127) {
        out += static_cast<char>(vaInt8);
        out += static_cast<char>(static_cast<int8_t>(v));
    } else if (v >= -32768 && v <= 32767) {
        out += static_cast<char>(vaInt16);
        out += static_cast<char>(v & 0xFF);
        out += static_cast<char>((v >> 8) & 0xFF);
    } else {
        out += static_cast<char>(vaInt32);
        for (int i = 0; i < 4; ++i)
            out += static_cast<char>((static_cast<uint32_t>(v) >> (8 * i)) & 0xFF);
    }
}

void WriteString(std::string& out, const std::string& s)
{
    if (s.size() <= 255) {
        out += static_cast<char>(vaString);
        out += static_cast<char>(s.size());
    } else {
        out += static_cast<char>(vaLString);
        for (int i = 0; i < 4; ++i)
            out += static_cast<char>((s.size() >> (8 * i)) & 0xFF);
    }
    out += s;
}

} // namespace

bool TIvTargetProperty::DoesMatch(const std::string& className, const std::string& propertyName) const
{
    if ((ClassName.empty() || SameName(ClassName, className)) && SameName(PropertyName, propertyName))
        return true;
    return SameName(ClassName, className) && PropertyName.empty();
}

const TIvTargetProperty& TIvTargetProperties::GetItems(int index) const
{
    if (index < 0 || index >= GetCount())
        throw ERangeError("List index out of bounds (" + std::to_string(index) + ")");
    return FItems[index];
}

void TIvTargetProperties::Add(const TIvTargetProperty& item)
{
    FItems.push_back(item);
    if (item.Type == ivttExclude)
        ++FExcludeCount;
}

void TIvTargetProperties::Add(
    const std::string& className, const std::string& propertyName, TIvTargetType type)
{
    Add(TIvTargetProperty { className, propertyName, type });
}

void TIvTargetProperties::Delete(int index)
{
    if (GetItems(index).Type == ivttExclude)
        --FExcludeCount;
    FItems.erase(FItems.begin() + index);
}

int TIvTargetProperties::Find(const TIvTargetProperty& item) const
{
    for (int i = 0; i < GetCount(); ++i)
        if (FItems[i].IsEqual(item))
            return i;
    return -1;
}

void TIvTargetProperties::Assign(const TIvTargetProperties& source)
{
    if (&source == this)
        return;
    SetDefault();
    for (const auto& item : source.FItems)
        Add(item);
}

bool TIvTargetProperties::IsEqual(const TIvTargetProperties& other) const
{
    if (GetCount() != other.GetCount())
        return false;
    for (const auto& item : FItems)
        if (other.Find(item) < 0)
            return false;
    return true;
}

bool TIvTargetProperties::DoesMatch(
    const std::string& className, const std::string& propertyName, TIvTargetType type) const
{
    if (type == ivttExclude && FExcludeCount == 0)
        return false;
    for (const auto& item : FItems)
        if (item.Type == type && item.DoesMatch(className, propertyName))
            return true;
    return false;
}

bool TIvTargetProperties::IsPropertyExcluded(
    const std::string& className, const std::string& propertyName) const
{
    return DoesMatch(className, propertyName, ivttExclude);
}

bool TIvTargetProperties::IsPropertyInTargets(
    const std::string& className, const std::string& propertyName) const
{
    return !IsPropertyExcluded(className, propertyName) && DoesMatch(className, propertyName, ivttInclude);
}

bool TIvTargetProperties::IsObjectInTargets(const std::string& className) const
{
    bool included = false;
    for (const auto& item : FItems) {
        if (!SameName(item.ClassName, className) || !item.PropertyName.empty())
            continue;
        if (item.Type == ivttExclude)
            return false;
        included = true;
    }
    return included;
}

void TIvTargetProperties::ReadData(const std::string& stream)
{
    ValueReader r(stream);
    r.ListBegin();
    int version = r.Integer();
    if (version > 1)
        throw EIvMulti("Unknown target properties data version: " + std::to_string(version));
    int count = r.Integer();
    for (int i = 0; i < count; ++i) {
        r.ListBegin();
        TIvTargetProperty item;
        item.ClassName = r.String();
        item.PropertyName = r.String();
        item.Type = r.Integer() == 1 ? ivttExclude : ivttInclude;
        r.ListEnd();
        if (Find(item) < 0)
            Add(item);
    }
    r.ListEnd();
}

std::string TIvTargetProperties::WriteData(const TIvTargetProperties* ancestor) const
{
    std::vector<const TIvTargetProperty*> items;
    for (const auto& item : FItems)
        if (!ancestor || ancestor->Find(item) < 0)
            items.push_back(&item);
    std::string out;
    out += static_cast<char>(vaList);
    WriteInteger(out, 1);
    WriteInteger(out, static_cast<int32_t>(items.size()));
    for (const auto* item : items) {
        out += static_cast<char>(vaList);
        WriteString(out, item->ClassName);
        WriteString(out, item->PropertyName);
        WriteInteger(out, item->Type);
        out += static_cast<char>(vaNull);
    }
    out += static_cast<char>(vaNull);
    return out;
}

void TIvTargetProperties::ReadOldData(const std::string& stream)
{
    ValueReader r(stream);
    r.ListBegin();
    int count = r.Integer();
    SetDefault();
    for (int i = 0; i < count; ++i) {
        std::string className = r.String();
        std::string propertyName = r.String();
        Add(className, propertyName);
    }
    r.ListEnd();
}
