#pragma once
// The about window. It is created first of all windows: it reads the
// program's version information and supplies the product name, version and
// settings key that the main window uses, and it runs the start-up check of
// the machine.
#include <QDialog>

#include <memory>
#include <string>

class QLabel;
class QPushButton;
class TIvBinaryDictionary;
class TIvDictionary;
class EnvironmentProbe;

class TfrmAbout : public QDialog {
    Q_OBJECT
public:
    // `probe` (not owned) answers the start-up check; null uses the machine.
    explicit TfrmAbout(QWidget* Owner = nullptr, const EnvironmentProbe* probe = nullptr);
    ~TfrmAbout() override;

    bool CheckRunEnvironment();
    std::string GetVersionInfoString(const std::string& key) const;
    std::string GetProductName() const { return GetVersionInfoString("ProductName"); }
    std::string GetProductVersion() const { return GetVersionInfoString("ProductVersion"); }
    std::string GetInternalName() const { return GetVersionInfoString("InternalName"); }
    static std::string GetCompanyRegistryKey() { return "Software\\Veltrane"; }
    static std::string GetApplicationRegistryKey()
    {
        return GetCompanyRegistryKey() + "\\PX10 Windows Support Tool";
    }
    // The settings section of this version ("V3.03 c").
    std::string VersionSection() const { return "V" + GetProductVersion(); }
    // The program's web address (ours, not a real company's).
    static std::string WebAddress() { return "https://px10tool.example.org"; }
    // Whether the link may open `text`: an http or https address with a host.
    static bool IsWebAddress(const QString& text);

    // The program's one language dictionary ("Dictionary1", from
    // "PX10Tool.mld" in the current folder, else the program's); null when
    // the file is missing or damaged, and the program stays English.
    TIvDictionary* LanguageDictionary = nullptr;

    QLabel* lblProductName1 = nullptr;
    QLabel* lblInternalNameAndVersion = nullptr;
    QLabel* lblMemory = nullptr;
    QLabel* lblWebsite = nullptr;
    QPushButton* btnOK = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormCreate();
    void FormShow();
    void OpenLanguageDictionary();
    // The texts built from the version information, in the language in force.
    void RetextCodeTexts();
    void lblWebsiteClick();
    void DrawApplicationIcon();

    std::unique_ptr<TIvBinaryDictionary> FLanguageDictionary;
    const EnvironmentProbe* FProbe;
    std::unique_ptr<EnvironmentProbe> FOwnProbe;
    QLabel* imgApplicationIcon = nullptr;
    QLabel* lblProductNames[7] = {};
};

// The program's icon, drawn once.
QPixmap ApplicationIcon();

extern TfrmAbout* frmAbout;
