#include "Onboardoutputsetupframe.h"

#include "Ivmulti.h"

#include "AccessibleName.h"
#include "CodePage.h"
#include "ExceptionBox.h"
#include "Ivdictio.h"
#include "Onboardoutputlogic.h"
#include "PX10ConfigData.h"
#include "WindowFit.h"

#include <QComboBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <algorithm>

namespace {
QLabel* Title(const char* text, QWidget* parent, const char* name)
{
    auto* l = new QLabel(QString::fromUtf8(text), parent);
    l->setObjectName(name);
    QFont f = l->font();
    f.setBold(true);
    l->setFont(f);
    return l;
}
} // namespace

TfrmOnboardOutputSetup::TfrmOnboardOutputSetup(QWidget* parent)
    : QWidget(parent)
{
    setObjectName("frmOnboardOutputSetup1");
    auto* outer = new QVBoxLayout(this);
    QLabel* title = Title(IvNative("Onboard Outputs"), this, "lblTitle");
    QFont big = title->font();
    big.setPointSizeF(big.pointSizeF() * 1.4);
    title->setFont(big);
    outer->addWidget(title);
    outer->addWidget(Title(IvNative("Configuration"), this, "lblConfiguration"));

    auto* grid = new QGridLayout;
    const char* columns[]
        = { IvNative("Output Circuit"), IvNative("Type"), IvNative("EOL"), IvNative("CBE Rule No") };
    const char* columnNames[] = { "lblOutputCircuit", "lblType", "lblEOL", "lblCBERuleNo" };
    for (int c = 0; c < 4; ++c)
        grid->addWidget(Title(columns[c], this, columnNames[c]), 0, c == 3 ? 3 : c, 1, c == 3 ? 2 : 1);
    QStringList types;
    for (int code : onboard::TypePickOrder())
        types << platform::Utf8ToQString(Translate(onboard::TypeList()[static_cast<size_t>(code)]));
    QStringList eol;
    for (const std::string& e : onboard::EOLTexts())
        eol << platform::Utf8ToQString(Translate(e));
    for (int n = 1; n <= onboard::CircuitCount; ++n) {
        const size_t i = static_cast<size_t>(n - 1);
        const QString label = QString::fromStdString(onboard::CircuitLabels()[i]);
        lblCircuit[i] = new QLabel(label, this);
        lblCircuit[i]->setObjectName(QString("lblCircuit%1").arg(n));
        grid->addWidget(lblCircuit[i], n, 0);

        auto* type = new QComboBox(this);
        type->setObjectName(QString("cboB%1").arg(n));
        type->addItems(types);
        IvSetCodeText(type, "Items"); // filled translated, mapped back by index
        type->setMaxVisibleItems(types.size());
        // Each box is as wide as its longest entry in the language in force.
        KeepWideAsEntries(type);
        SetAccessibleNameParts(type, { label, IvNative("Type") });
        connect(
            type, &QComboBox::activated, this, [this, n](int row) { Guarded([&] { TypeChosen(n, row); }); });
        cboB[i] = type;
        grid->addWidget(type, n, 1);

        if (n <= onboard::EOLCircuits) {
            auto* e = new QComboBox(this);
            e->setObjectName(QString("cboBEOL%1").arg(n));
            e->addItems(eol);
            KeepWideAsEntries(e);
            IvSetCodeText(e, "Items");
            SetAccessibleNameParts(e, { label, IvNative("EOL") });
            connect(
                e, &QComboBox::activated, this, [this, n](int row) { Guarded([&] { EOLChosen(n, row); }); });
            cboBEOL[i] = e;
            grid->addWidget(e, n, 2);
        }

        auto* rules = new QLineEdit(this);
        rules->setObjectName(QString("edtCbeRules%1").arg(n));
        SetAccessibleNameParts(rules, { label, IvNative("CBE Rule No") });
        rules->installEventFilter(this);
        connect(rules, &QLineEdit::editingFinished, this, [this, n] { Guarded([&] { CommitRuleList(n); }); });
        edtCbeRules[i] = rules;
        grid->addWidget(rules, n, 3);

        auto* button = new QPushButton(QStringLiteral("..."), this);
        button->setObjectName(QString("btnCBERuleEdit%1").arg(n));
        SetAccessibleNameParts(button, { label, IvNative("CBE Rule No") });
        button->setFixedWidth(button->fontMetrics().horizontalAdvance(QStringLiteral("....")) + 12);
        connect(button, &QPushButton::clicked, this, [this, n] { Guarded([&] { RuleButtonClicked(n); }); });
        btnCBERuleEdit[i] = button;
        grid->addWidget(button, n, 4);
    }
    grid->setColumnStretch(3, 1);
    outer->addLayout(grid);
    outer->addStretch();
}

void TfrmOnboardOutputSetup::RetextLists()
{
    const std::vector<int>& order = onboard::TypePickOrder();
    for (QComboBox* type : cboB)
        for (int row = 0; row < int(order.size()) && row < type->count(); ++row)
            type->setItemText(row,
                platform::Utf8ToQString(
                    Translate(onboard::TypeList()[static_cast<size_t>(order[size_t(row)])])));
    for (int n = 1; n <= onboard::EOLCircuits; ++n)
        for (int row = 0; row < int(onboard::EOLTexts().size()); ++row)
            cboBEOL[size_t(n - 1)]->setItemText(
                row, platform::Utf8ToQString(Translate(onboard::EOLTexts()[size_t(row)])));
}

void TfrmOnboardOutputSetup::LoadFromConfig()
{
    RetextLists(); // the language may have changed since
    if (!FConfig)
        return;
    const TPX10ConfigOnboardOutputCircuits& c = *FConfig->OnboardOutputCircuits;
    for (int n = 1; n <= onboard::CircuitCount; ++n) {
        const size_t i = static_cast<size_t>(n - 1);
        QComboBox* type = cboB[i];
        const QSignalBlocker block(type);
        const int row = onboard::PickRowOfType(c.GetCircuitType(n));
        // A code outside the list (from a file or a panel) shows as its number
        // and stays stored until the user picks a type.
        if (type->count() > int(onboard::TypePickOrder().size()))
            type->removeItem(type->count() - 1);
        if (row >= 0) {
            type->setCurrentIndex(row);
        } else {
            type->addItem(QString::number(c.GetCircuitType(n)));
            type->setCurrentIndex(type->count() - 1);
        }
        if (n <= onboard::EOLCircuits) {
            const QSignalBlocker blockEol(cboBEOL[i]);
            cboBEOL[i]->setCurrentIndex(onboard::IsDiode(c.GetEOLMode(), n) ? 1 : 0);
        }
        edtCbeRules[i]->setText(platform::Cp1252ToQString(c.GetCircuitRuleListText(n)));
    }
}

void TfrmOnboardOutputSetup::TypeChosen(int circuit, int row)
{
    const auto& order = onboard::TypePickOrder();
    if (!FConfig || row < 0 || row >= int(order.size()))
        return; // the number of a stored code outside the list
    FConfig->OnboardOutputCircuits->SetCircuitType(circuit, order[static_cast<size_t>(row)]);
    QComboBox* type = cboB[static_cast<size_t>(circuit - 1)];
    if (type->count() > int(order.size()))
        type->removeItem(type->count() - 1); // the stored number is gone now
}

void TfrmOnboardOutputSetup::EOLChosen(int circuit, int row)
{
    if (!FConfig)
        return;
    TPX10ConfigOnboardOutputCircuits& c = *FConfig->OnboardOutputCircuits;
    c.SetEOLMode(onboard::WithEOL(c.GetEOLMode(), circuit, row == 1));
}

void TfrmOnboardOutputSetup::CommitRuleList(int circuit)
{
    if (!FConfig)
        return;
    QLineEdit* edit = edtCbeRules[static_cast<size_t>(circuit - 1)];
    const std::string shown = onboard::CommitRuleListText(
        *FConfig->OnboardOutputCircuits, circuit, platform::QStringToCp1252(edit->text()));
    edit->setText(platform::Cp1252ToQString(shown));
}

void TfrmOnboardOutputSetup::CommitPendingEdits()
{
    for (int n = 1; n <= onboard::CircuitCount; ++n)
        if (edtCbeRules[static_cast<size_t>(n - 1)]->isModified()) {
            CommitRuleList(n);
            edtCbeRules[static_cast<size_t>(n - 1)]->setModified(false);
        }
}

void TfrmOnboardOutputSetup::RuleButtonClicked(int circuit)
{
    CommitPendingEdits();
    if (OpenRangeEntry)
        OpenRangeEntry(1000 + circuit);
    LoadFromConfig();
}

bool TfrmOnboardOutputSetup::eventFilter(QObject* watched, QEvent* event)
{
    auto* edit = qobject_cast<QLineEdit*>(watched);
    const auto it = std::find(edtCbeRules.begin(), edtCbeRules.end(), edit);
    if (!edit || it == edtCbeRules.end())
        return QWidget::eventFilter(watched, event);
    const int circuit = static_cast<int>(it - edtCbeRules.begin()) + 1;
    switch (event->type()) {
    case QEvent::KeyPress: {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            Guarded([&] { CommitRuleList(circuit); });
            return true;
        }
        const QString text = key->text();
        // Keys that type no character (carets, Delete, Tab) edit as usual.
        if (text.isEmpty() || !text.at(0).isPrint() || key->key() == Qt::Key_Backspace)
            return false;
        return !onboard::AcceptRuleListChar(text.at(0).unicode());
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        // A click in the edit shows the list as stored, normalised.
        Guarded([&] { CommitRuleList(circuit); });
        return false;
    default:
        return false;
    }
}
