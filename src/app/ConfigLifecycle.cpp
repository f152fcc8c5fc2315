#include "ConfigLifecycle.h"

#include "Exception.h"
#include "Ivdictio.h"
#include "PX10ConfigData.h"
#include "Prompts.h"

#include <QString>

#include <algorithm>
#include <cctype>
#include <filesystem>

using namespace platform;

ConfigLifecycle::ConfigLifecycle(std::string productName, std::string productVersion)
    : FProductName(std::move(productName))
    , FProductVersion(std::move(productVersion))
{
}

ConfigLifecycle::~ConfigLifecycle()
{
    Close();
}

void ConfigLifecycle::Close()
{
    if (ConfigData == FConfig.get())
        ConfigData = nullptr;
    FConfig.reset();
}

ConfigLifecycle::Flags ConfigLifecycle::CurrentFlags() const
{
    return NewConfigFlags ? NewConfigFlags() : Flags {};
}

void ConfigLifecycle::Changed()
{
    if (OnConfigChanged)
        OnConfigChanged();
    if (OnCaptionChanged)
        OnCaptionChanged();
}

void ConfigLifecycle::NewConfiguration()
{
    Flags f = CurrentFlags();
    SetCurrentConfig(std::make_unique<TPX10ConfigData>(
        f.VdSDefaults, f.LED2CModeDefault, f.TorqSwitchDefault, f.ControlKey3ModeDefault));
}

void ConfigLifecycle::SetCurrentConfig(std::unique_ptr<TPX10ConfigData> config)
{
    FFileName.clear();
    std::unique_ptr<TPX10ConfigData> old = std::move(FConfig);
    FConfig = std::move(config);
    ConfigData = FConfig.get();
    Changed();
    old.reset(); // only now: the views no longer show it
}

namespace {

// A failure names the file on a line of its own: the system's reason alone
// does not say which of the recent files vanished.
template <class F> void NamingTheFile(const std::string& fileName, F&& f)
{
    try {
        f();
    } catch (const Exception& e) {
        throw e.WithDetail(fileName);
    }
}

} // namespace

std::string ConfigLifecycle::FullPath(const std::string& name)
{
    if (name.empty())
        return name;
    // The bytes as they are (a name need not be UTF-8). A "." says nothing
    // and goes; a ".." stays, since after a linked folder it need not lead
    // where the name reads.
    std::error_code ec;
    const std::filesystem::path full = std::filesystem::absolute(name, ec);
    if (ec)
        return name;
    std::filesystem::path out;
    for (const std::filesystem::path& part : full)
        if (part != ".")
            out /= part;
    return out.string();
}

void ConfigLifecycle::OpenConfigFile(const std::string& name)
{
    // Every way in (command line, dropped file, open dialog, recent file)
    // comes here.
    const std::string fileName = FullPath(name);
    FFileName = fileName;
    try {
        NamingTheFile(fileName, [&] { ConfigData->LoadFromFile(fileName); });
        FHistory.Add(fileName);
        Changed();
    } catch (...) {
        NewConfiguration();
        throw;
    }
}

void ConfigLifecycle::FileNewExecute()
{
    if (OnCommitPendingEdits)
        OnCommitPendingEdits();
    if (!ConfigData || !ConfigData->IsModified()) {
        NewConfiguration();
        return;
    }
    int answer = CurrentPrompts().MessageDlg(
        Translate("Save changes ?"), MsgDlgType::mtConfirmation, mbYes | mbNo | mbCancel);
    if (answer == mrNo)
        NewConfiguration();
    else if (answer == mrYes) {
        FileSaveExecute();
        if (!ConfigData->IsModified())
            NewConfiguration();
    }
}

bool ConfigLifecycle::QuerySaveChanges()
{
    FileNewExecute();
    return ConfigData && !ConfigData->IsModified();
}

// The file is chosen before the save question: a cancelled dialog leaves the
// open configuration as it was, edits and file name included.
void ConfigLifecycle::FileOpenExecute()
{
    if (OnCommitPendingEdits)
        OnCommitPendingEdits();
    FileDialogOptions o;
    o.Filter = Translate("PX1x/2x Configuration File|*.UDF");
    o.Title = Translate("Open File");
    o.FileName = "*.UDF";
    std::string name = CurrentPrompts().OpenFileName(o);
    if (!name.empty() && QuerySaveChanges())
        OpenConfigFile(name);
}

void ConfigLifecycle::FileSaveExecute()
{
    if (OnCommitPendingEdits)
        OnCommitPendingEdits();
    if (FFileName.empty()) {
        FileSaveAsExecute();
        return;
    }
    NamingTheFile(FFileName, [&] { ConfigData->SaveToFile(FFileName); });
}

std::string ConfigLifecycle::WithUdfExtension(const std::string& name)
{
    if (name.size() < 4)
        return name + ".UDF";
    std::string tail = name.substr(name.size() - 4);
    for (char& c : tail)
        c = char(std::toupper(static_cast<unsigned char>(c)));
    return tail == ".UDF" ? name : name + ".UDF";
}

void ConfigLifecycle::FileSaveAsExecute()
{
    if (OnCommitPendingEdits)
        OnCommitPendingEdits();
    FileDialogOptions o;
    o.Filter = Translate("PX1x/2x Configuration File|*.UDF");
    o.Title = Translate("Save As");
    o.FileName = "*.UDF";
    std::string name = CurrentPrompts().SaveFileName(o);
    if (name.empty())
        return;
    // The name is taken only once the file is written: after a failure, Save
    // must still go to the file the caption shows.
    const std::string target = FullPath(WithUdfExtension(name));
    NamingTheFile(target, [&] { ConfigData->SaveToFile(target); });
    FFileName = target;
    FHistory.Add(FFileName);
    if (OnCaptionChanged)
        OnCaptionChanged();
}

void ConfigLifecycle::FileHistoryClick(int slot)
{
    std::string name = FHistory.Item(slot);
    if (!name.empty() && QuerySaveChanges())
        OpenConfigFile(name);
}

std::string ConfigLifecycle::FirstConfigFile(const std::vector<std::string>& files)
{
    for (const std::string& f : files) {
        std::string base = f.substr(f.find_last_of('/') == std::string::npos ? 0 : f.find_last_of('/') + 1);
        auto dot = base.find_last_of('.');
        if (dot == std::string::npos)
            continue;
        std::string ext = base.substr(dot);
        for (char& c : ext)
            c = char(std::toupper(static_cast<unsigned char>(c)));
        if (ext == ".UDF")
            return f;
    }
    return "";
}

void ConfigLifecycle::OpenDroppedFiles(const std::vector<std::string>& files)
{
    std::string name = FirstConfigFile(files);
    if (!name.empty() && QuerySaveChanges())
        OpenConfigFile(name);
}

std::string ConfigLifecycle::GetDisplayFileName() const
{
    if (FFileName.empty())
        return Translate("NEW FILE");
    auto slash = FFileName.find_last_of("/\\");
    std::string base = slash == std::string::npos ? FFileName : FFileName.substr(slash + 1);
    // A name in UTF-8 is upper-cased as the text it is (é becomes É); one in
    // another encoding keeps its bytes but for the ASCII letters.
    const QString text = QString::fromStdString(base);
    if (text.toStdString() == base)
        return text.toUpper().toStdString();
    for (char& c : base)
        c = char(std::toupper(static_cast<unsigned char>(c)));
    return base;
}

std::string ConfigLifecycle::Caption() const
{
    return GetDisplayFileName() + " - " + Translate(FProductName) + " " + "V" + FProductVersion;
}
