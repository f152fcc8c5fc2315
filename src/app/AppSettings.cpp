#include "AppSettings.h"

#include "CodePage.h"
#include "Settings.h"

#include <QSettings>

using platform::Utf8ToQString;

namespace {

// File names are the system's bytes. One that is valid UTF-8 is stored as the
// text it is; any other as bytes, since a text would lose what is not UTF-8.
QVariant FileNameValue(const std::string& name)
{
    const QByteArray bytes = QByteArray::fromStdString(name);
    if (QString::fromUtf8(bytes).toUtf8() == bytes)
        return QString::fromUtf8(bytes);
    return bytes;
}

std::string FileNameOf(const QVariant& value)
{
    if (value.typeId() == QMetaType::QByteArray)
        return value.toByteArray().toStdString();
    return value.toString().toStdString();
}
} // namespace

StoredSettings ReadSettings(const std::string& versionSection, bool vdsDefault)
{
    const auto stored = platform::ProgramSettings();
    QSettings& s = *stored;
    StoredSettings out;
    bool ok = false;
    int port = s.value("Setup/Com Port", 0).toInt(&ok);
    out.ComPort = ok && port >= 0 && port <= 7 ? port : 0;
    QVariant lang = s.value(Utf8ToQString(versionSection + "/UILanguage"));
    if (lang.isValid()) {
        const long long v = lang.toLongLong(&ok);
        if (ok)
            out.UILanguage = v;
    }
    out.VdSCompatibility = s.value(Utf8ToQString(versionSection + "/VdS Compatibility"), vdsDefault).toBool();
    for (int k = 1; k <= 5; ++k)
        out.Files.push_back(
            FileNameOf(s.value(Utf8ToQString(versionSection + "/File History/FILE " + std::to_string(k)))));
    return out;
}

bool ReadVdSCompatibility(const std::string& versionSection, bool vdsDefault)
{
    return platform::ProgramSettings()
        ->value(Utf8ToQString(versionSection + "/VdS Compatibility"), vdsDefault)
        .toBool();
}

void WriteSettings(const std::string& versionSection, const StoredSettings& settings)
{
    const auto stored = platform::ProgramSettings();
    QSettings& s = *stored;
    s.setValue("Setup/Com Port", settings.ComPort);
    s.setValue(Utf8ToQString(versionSection + "/VdS Compatibility"), settings.VdSCompatibility);
    if (settings.UILanguage)
        s.setValue(Utf8ToQString(versionSection + "/UILanguage"), *settings.UILanguage);
    for (int k = 1; k <= 5; ++k) {
        std::string f = k - 1 < int(settings.Files.size()) ? settings.Files[k - 1] : std::string();
        s.setValue(
            Utf8ToQString(versionSection + "/File History/FILE " + std::to_string(k)), FileNameValue(f));
    }
    s.sync();
}
