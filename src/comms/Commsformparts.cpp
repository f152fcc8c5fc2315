#include "Commsformparts.h"

#include "ExceptionBox.h"
#include "Ivdictio.h"
#include "JpegImage.h"
#include "Prompts.h"

#include <QLabel>
#include <QPixmap>
#include <QTimer>

// Outside any namespace, as Qt's resource registration wants.
static void InitCommsPictures()
{
    Q_INIT_RESOURCE(comms_pictures);
}

namespace comms::forms {

QLabel* NamedLabel(QWidget* parent, const char* name, const QString& text)
{
    auto* l = new QLabel(text, parent);
    l->setObjectName(QString::fromUtf8(name));
    return l;
}

QPixmap Picture(const char* file)
{
    static const bool registered = (InitCommsPictures(), true);
    (void)registered;
    return QPixmap::fromImage(platform::LoadJpeg(QStringLiteral(":/comms/") + QString::fromUtf8(file)));
}

PanelPictures MakePanelPictures(QWidget* parent, const char* qtbName)
{
    PanelPictures p;
    p.PX10 = NamedLabel(parent, "imgPX10");
    p.PX10->setPixmap(Picture("panel.jpg"));
    p.TR70 = NamedLabel(parent, "imgTR70");
    p.Marvex = NamedLabel(parent, "imgMarvex");
    p.QTB = NamedLabel(parent, qtbName);
    for (QLabel* hidden : { p.TR70, p.Marvex, p.QTB })
        hidden->hide();
    return p;
}

void RunShowHandler(QObject* window, std::function<void()>& pending)
{
    if (!pending)
        return;
    auto show = std::move(pending);
    pending = nullptr;
    QTimer::singleShot(0, window, [show] { Guarded(show); });
}

} // namespace comms::forms
