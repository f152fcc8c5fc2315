#include "AccessibleName.h"

#include "Ivdictio.h"
#include "WidgetErrors.h"

#include <QEvent>
#include <QRegularExpression>
#include <QWidget>

#include <string>
#include <vector>

namespace {

// `text` as a screen reader says it: its accelerator "&" dropped, "&&" as "&".
QString WithoutAccelerator(QString text)
{
    static const QRegularExpression accelerator(QStringLiteral("&(.)"));
    return text.replace(accelerator, QStringLiteral("\\1"));
}

// Lives as a child of its control: QWidget hands the language change on to
// its children, after the translators of the new language have run.
class TAccessibleNamer : public QObject {
public:
    static constexpr const char* Name = "AccessibleNamer";

    explicit TAccessibleNamer(QWidget* control)
        : QObject(control)
    {
        setObjectName(QLatin1String(Name));
    }
    void SetParts(const QStringList& parts)
    {
        FParts.clear();
        for (const QString& p : parts)
            FParts.push_back(p.toStdString());
        Rename();
    }
    bool event(QEvent* e) override
    {
        if (e->type() == QEvent::LanguageChange)
            try {
                Rename();
            } catch (...) {
                ReportWidgetError(std::current_exception());
            }
        return QObject::event(e);
    }

private:
    void Rename()
    {
        QStringList name;
        for (const std::string& p : FParts)
            name << WithoutAccelerator(QString::fromStdString(Translate(p)));
        static_cast<QWidget*>(parent())->setAccessibleName(name.join(QLatin1Char(' ')));
    }

    std::vector<std::string> FParts;
};

} // namespace

void SetAccessibleNameParts(QWidget* Control, const QStringList& EnglishParts)
{
    auto* namer = dynamic_cast<TAccessibleNamer*>(
        Control->findChild<QObject*>(QLatin1String(TAccessibleNamer::Name), Qt::FindDirectChildrenOnly));
    if (!namer)
        namer = new TAccessibleNamer(Control);
    namer->SetParts(EnglishParts);
}
