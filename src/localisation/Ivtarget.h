#pragma once
// Which properties of which classes a translator translates. Class names are
// the run-time class names (Qt's and our own); property names are those of
// the translator's vocabulary ("Caption", "Hint", "Items"...). Names match
// ignoring case, and only the exact class counts, never an ancestor.
#include <string>
#include <vector>

enum TIvTargetType { ivttInclude = 0, ivttExclude = 1 };

class TIvTargetProperty {
public:
    std::string ClassName; // empty: any class
    std::string PropertyName; // empty: the whole class
    TIvTargetType Type = ivttInclude;

    bool IsDefault() const { return ClassName.empty() && PropertyName.empty() && Type == ivttInclude; }
    bool IsEqual(const TIvTargetProperty& other) const
    {
        return ClassName == other.ClassName && PropertyName == other.PropertyName && Type == other.Type;
    }
    bool DoesMatch(const std::string& className, const std::string& propertyName) const;
};

class TIvTargetProperties {
public:
    int GetCount() const { return static_cast<int>(FItems.size()); }
    const TIvTargetProperty& GetItems(int index) const;
    void Add(const TIvTargetProperty& item);
    void Add(const std::string& className, const std::string& propertyName, TIvTargetType type = ivttInclude);
    void Delete(int index);
    int Find(const TIvTargetProperty& item) const;
    void Copy(const TIvTargetProperties& source) { Assign(source); }
    void Assign(const TIvTargetProperties& source);
    bool IsEqual(const TIvTargetProperties& other) const;
    bool IsDefault() const { return FItems.empty(); }
    void SetDefault() { FItems.clear(), FExcludeCount = 0; }
    int GetExcludeCount() const { return FExcludeCount; }

    bool DoesMatch(const std::string& className, const std::string& propertyName, TIvTargetType type) const;
    bool IsPropertyExcluded(const std::string& className, const std::string& propertyName) const;
    bool IsPropertyInTargets(const std::string& className, const std::string& propertyName) const;
    bool IsObjectInTargets(const std::string& className) const;

    // The "TargetsData" stream in the class library's typed value encoding.
    // Reading appends, dropping entries already present; a newer version raises EIvMulti.
    void ReadData(const std::string& stream);
    // Against an ancestor, only the entries the ancestor lacks are written.
    std::string WriteData(const TIvTargetProperties* ancestor = nullptr) const;
    // The older "Data" stream (include entries only; replaces the list).
    void ReadOldData(const std::string& stream);

private:
    std::vector<TIvTargetProperty> FItems;
    int FExcludeCount = 0;
};
