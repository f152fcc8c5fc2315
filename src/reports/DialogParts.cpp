#include "DialogParts.h"

#include "Ivdictio.h"

#include <QBoxLayout>
#include <QDialog>
#include <QPushButton>

namespace report {

QString T(const char* native)
{
    return QString::fromUtf8(native);
}

TOkCancel AddOkCancel(QDialog* dialog, QBoxLayout* layout)
{
    auto* row = new QHBoxLayout;
    auto* ok = new QPushButton(T(IvNative("OK")), dialog);
    ok->setObjectName("btnOK");
    ok->setDefault(true);
    auto* cancel = new QPushButton(T(IvNative("Cancel")), dialog);
    cancel->setObjectName("btnCancel");
    row->addStretch();
    row->addWidget(ok);
    row->addWidget(cancel);
    layout->addLayout(row);
    QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
    return { ok, cancel };
}

} // namespace report
