#include "DialogParts.h"

#include "CodePage.h"
#include "Ivdictio.h"

#include <QBoxLayout>
#include <QDialog>
#include <QPushButton>

namespace report {

TOkCancel AddOkCancel(QDialog* dialog, QBoxLayout* layout)
{
    auto* row = new QHBoxLayout;
    auto* ok = new QPushButton(platform::Utf8ToQString(IvNative("OK")), dialog);
    ok->setObjectName("btnOK");
    ok->setDefault(true);
    auto* cancel = new QPushButton(platform::Utf8ToQString(IvNative("Cancel")), dialog);
    cancel->setObjectName("btnCancel");
    row->addStretch();
    row->addWidget(ok);
    row->addWidget(cancel);
    layout->addLayout(row);
    QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
    return { ok, cancel };
}

} // namespace report
