#pragma once
// The life of the current configuration, without widgets: new, open, save,
// save as, the "Save changes ?" question, the file name, the recent files and
// the caption. The main window wires its menus to it and repaints through
// the callbacks; tests drive it with scripted prompts.
#include "FileHistory.h"
#include "LanguageRules.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class TPX10ConfigData;

class ConfigLifecycle {
public:
    using Flags = TNewConfigFlags;

    ConfigLifecycle(std::string productName, std::string productVersion);
    ~ConfigLifecycle();

    // The option flags of every configuration made from now on.
    std::function<Flags()> NewConfigFlags;
    // Called after the current configuration was replaced or reloaded, with
    // the global ConfigData already pointing at it: rebuild the tree and
    // reload every view.
    std::function<void()> OnConfigChanged;
    // Called whenever the caption may have changed.
    std::function<void()> OnCaptionChanged;
    // Called before anything acts on the configuration: commit what the user
    // is still typing.
    std::function<void()> OnCommitPendingEdits;

    void NewConfiguration();
    // Takes ownership; the old configuration goes after the views show the new one.
    void SetCurrentConfig(std::unique_ptr<TPX10ConfigData> config);
    // Loads into the current configuration (the file name and the recent
    // files keep its full path); a failure leaves a fresh one and raises the
    // same exception again.
    void OpenConfigFile(const std::string& fileName);
    // The "Save changes ?" flow; the return tells whether the configuration
    // is now unmodified (so the caller may go on).
    void FileNewExecute();
    bool QuerySaveChanges();
    // Asks for the file first; only once one is chosen comes the question.
    void FileOpenExecute();
    void FileSaveExecute();
    void FileSaveAsExecute();
    void FileHistoryClick(int slot);
    // Of dropped files, the first whose extension is .UDF (any case) is
    // opened after the question; the others are ignored.
    void OpenDroppedFiles(const std::vector<std::string>& files);
    static std::string FirstConfigFile(const std::vector<std::string>& files);

    // ".UDF" appended unless the name already ends so (any case).
    static std::string WithUdfExtension(const std::string& name);
    // The name from the root of the file system, so that it still names the
    // same file when the program next starts from another folder; empty
    // stays empty.
    static std::string FullPath(const std::string& name);

    std::string GetDisplayFileName() const;
    std::string Caption() const;
    const std::string& FileName() const { return FFileName; }
    FileHistory& History() { return FHistory; }
    const FileHistory& History() const { return FHistory; }
    // Deletes the configuration at the end (ConfigData becomes null).
    void Close();

private:
    Flags CurrentFlags() const;
    void Changed();

    std::string FProductName;
    std::string FProductVersion;
    std::string FFileName;
    FileHistory FHistory;
    std::unique_ptr<TPX10ConfigData> FConfig;
};
