#include "Cberangeentryform.h"

#include "Ivwindows.h"

#include "AccessibleName.h"
#include "Cberangeentrylogic.h"
#include "CodePage.h"
#include "ExceptionBox.h"
#include "Ivdictio.h"
#include "Spincontrol.h"
#include "WindowFit.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>

namespace {
constexpr int Columns = 3;
constexpr int Rows = 8; // 24 entries in three columns
} // namespace

TfrmCBERangeEntry::TfrmCBERangeEntry(QWidget* parent)
    : QDialog(parent)
{
    setObjectName("frmCBERangeEntry");
    lblTitle = new QLabel(IvNative("CBE Range Selector"), this);
    lblTitle->setObjectName("lblTitle");
    edtCBERange = new QLineEdit(this);
    edtCBERange->setObjectName("edtCBERange");
    edtCBERange->setReadOnly(true);
    SetAccessibleNameParts(edtCBERange, { lblTitle->text() });

    clbCBERangeSelector = new QListWidget(this);
    clbCBERangeSelector->setObjectName("clbCBERangeSelector");
    SetAccessibleNameParts(clbCBERangeSelector, { lblTitle->text() });
    clbCBERangeSelector->setFlow(QListView::TopToBottom);
    clbCBERangeSelector->setWrapping(true);
    clbCBERangeSelector->setResizeMode(QListView::Adjust);
    clbCBERangeSelector->setUniformItemSizes(true);
    for (int i = 0; i < TCBERangeEntryLogic::Entries; ++i) {
        auto* item = new QListWidgetItem(QString::number(i + 1), clbCBERangeSelector);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
    clbCBERangeSelector->setWordWrap(true);
    clbCBERangeSelector->setTextElideMode(Qt::ElideNone);
    // Sized for the three columns below: a scroll bar would take the room of
    // the eighth row and push the last entries out of view.
    clbCBERangeSelector->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    clbCBERangeSelector->installEventFilter(this);
    clbCBERangeSelector->viewport()->installEventFilter(this);
    connect(clbCBERangeSelector, &QListWidget::itemChanged, this,
        [this](QListWidgetItem* item) { Guarded([&] { EntryChecked(item); }); });
    connect(clbCBERangeSelector, &QListWidget::itemDoubleClicked, this,
        [this] { Guarded([this] { EditRuleExecute(); }); });
    connect(clbCBERangeSelector, &QListWidget::currentRowChanged, this, [this] { UpdateEditRuleEnabled(); });

    lblBaseCBERule = new QLabel(IvNative("&Base CBE Rule"), this);
    lblBaseCBERule->setObjectName("lblBaseCBERule");
    spnBaseCBERule = new TSpinControl(this, TControlParts::UpDownOnly());
    spnBaseCBERule->setObjectName("spnBaseCBERule");
    spnBaseCBERule->SetMin(TCBERangeEntryLogic::MinBase);
    spnBaseCBERule->SetMax(TCBERangeEntryLogic::MaxBase);
    spnBaseCBERule->SetValue(1);
    SetAccessibleNameParts(spnBaseCBERule, { lblBaseCBERule->text() });
    lblBaseCBERule->setBuddy(spnBaseCBERule);
    // The control reports every change of its value, also those made in code:
    // only the user's moves store a base (showing never writes).
    spnBaseCBERule->OnChange = [this](TSpinControl*) {
        if (FLoading || !FLogic)
            return;
        Guarded([this] {
            FLogic->SetBaseRule(spnBaseCBERule->GetValue());
            Refill();
        });
    };
    cbxLoopPoweredOutput = new QCheckBox(IvNative("Loop Powered Output"), this);
    cbxLoopPoweredOutput->setObjectName("cbxLoopPoweredOutput");
    connect(cbxLoopPoweredOutput, &QCheckBox::clicked, this, [this](bool on) {
        Guarded([&] {
            if (FLogic && FLogic->ShowsLoopPowered()) {
                FLogic->SetLoopPowered(on);
                ShowRuleListText();
            }
        });
    });
    btnEditRule = new QPushButton(IvNative("&Edit Rule"), this);
    btnEditRule->setObjectName("btnEditRule");
    connect(btnEditRule, &QPushButton::clicked, this, [this] { Guarded([this] { EditRuleExecute(); }); });
    btnClose = new QPushButton(IvNative("&Close"), this);
    btnClose->setObjectName("btnClose");
    connect(btnClose, &QPushButton::clicked, this, &QDialog::accept);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(lblBaseCBERule);
    bottom->addWidget(spnBaseCBERule);
    bottom->addWidget(cbxLoopPoweredOutput);
    bottom->addStretch();
    bottom->addWidget(btnEditRule);
    bottom->addWidget(btnClose);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblTitle);
    layout->addWidget(edtCBERange);
    layout->addWidget(clbCBERangeSelector, 1);
    layout->addLayout(bottom);
    FitEntries();
    // The caption and the rule entries are built from the device and the rules.
    IvSetCodeText(this);
    IvSetCodeText(clbCBERangeSelector, "Items");
    IvAddTranslator(this);
}

TfrmCBERangeEntry::~TfrmCBERangeEntry() = default;

int TfrmCBERangeEntry::Execute(TPX10ConfigData* config, int deviceId)
{
    if (!config || !TCBERangeEntryLogic::IsValidDeviceId(deviceId))
        return QDialog::Rejected;
    FLogic = std::make_unique<TCBERangeEntryLogic>(*config, deviceId);
    const int result = exec();
    FLogic.reset(); // no pointer into a configuration that may be replaced later
    return result;
}

void TfrmCBERangeEntry::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    Guarded([this] { FormShow(); });
}

void TfrmCBERangeEntry::FormShow()
{
    if (!FLogic)
        return;
    setWindowTitle(QString::fromStdString(FLogic->Caption()));
    clbCBERangeSelector->setCurrentRow(0);
    FLoading = true;
    spnBaseCBERule->SetValue(FLogic->ShownBase());
    FLoading = false;
    cbxLoopPoweredOutput->setVisible(FLogic->ShowsLoopPowered());
    cbxLoopPoweredOutput->setChecked(FLogic->LoopPowered());
    Refill();
}

void TfrmCBERangeEntry::Refill()
{
    if (!FLogic)
        return;
    FLoading = true;
    for (int i = 0; i < TCBERangeEntryLogic::Entries; ++i) {
        QListWidgetItem* item = clbCBERangeSelector->item(i);
        item->setText(QString::fromStdString(FLogic->EntryText(i)));
        item->setCheckState(FLogic->IsTicked(i) ? Qt::Checked : Qt::Unchecked);
    }
    FLoading = false;
    FitEntries();
    ShowRuleListText();
    UpdateEditRuleEnabled();
}

void TfrmCBERangeEntry::FitEntries()
{
    // The rule types are as long as their language makes them: the columns
    // take the longest entry shown, as far as three of them fit the screen;
    // beyond that an entry wraps onto more lines.
    QListWidget* list = clbCBERangeSelector;
    const QFontMetrics fm = list->fontMetrics();
    const int check = list->style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, list) + 24;
    // Measured as the wrapping below measures, so an entry that fits is not wrapped.
    const auto extent = [&](int width, int i) {
        return fm.boundingRect(QRect(0, 0, width, QWIDGETSIZE_MAX), Qt::TextWordWrap, list->item(i)->text());
    };
    int widest = 0;
    for (int i = 0; i < list->count(); ++i)
        widest = std::max(widest, extent(QWIDGETSIZE_MAX, i).width());
    const int chrome = 2 * list->frameWidth() + layout()->contentsMargins().left()
        + layout()->contentsMargins().right() + 8;
    const int most = (BoundedToScreen(this, QSize(QWIDGETSIZE_MAX, 0)).width() - chrome) / Columns;
    const int column = std::min(widest + check, most);
    // A row is as tall as its text in the language shown: its lines, and the
    // letters that reach beyond a line's box (the dots of "Ü"), with the
    // lines in the middle of the row as the list draws them.
    int tallest = list->style()->pixelMetric(QStyle::PM_IndicatorHeight, nullptr, list);
    for (int i = 0; i < list->count(); ++i) {
        const QRect ink = fm.tightBoundingRect(list->item(i)->text());
        const int beyond = std::max({ 0, -ink.top() - fm.ascent(), ink.bottom() + 1 - fm.descent() });
        tallest = std::max(tallest, extent(column - check, i).height() + 2 * beyond);
    }
    const QSize cell(column, tallest + 6);
    if (cell == list->gridSize())
        return;
    // The list would give each entry only the height of one line of text.
    for (int i = 0; i < list->count(); ++i)
        list->item(i)->setSizeHint(cell);
    list->setGridSize(cell);
    list->setMinimumSize(Columns * cell.width() + 2 * list->frameWidth() + 4,
        Rows * cell.height() + 2 * list->frameWidth() + 4);
}

void TfrmCBERangeEntry::ShowRuleListText()
{
    if (FLogic)
        edtCBERange->setText(platform::Cp1252ToQString(FLogic->RuleListText()));
}

void TfrmCBERangeEntry::EntryChecked(QListWidgetItem* item)
{
    if (FLoading || !FLogic)
        return;
    FLogic->SetTicked(clbCBERangeSelector->row(item), item->checkState() == Qt::Checked);
    ShowRuleListText();
}

void TfrmCBERangeEntry::UpdateEditRuleEnabled()
{
    btnEditRule->setEnabled(EditRule && clbCBERangeSelector->currentRow() >= 0);
}

void TfrmCBERangeEntry::EditRuleExecute()
{
    const int i = clbCBERangeSelector->currentRow();
    if (!FLogic || !EditRule || i < 0)
        return;
    const int shownLast = EditRule(FLogic->ShownBase() + i);
    const int entry = FLogic->RuleEditorClosedOn(shownLast);
    if (entry >= 0)
        clbCBERangeSelector->setCurrentRow(entry);
    Refill();
}

bool TfrmCBERangeEntry::eventFilter(QObject* watched, QEvent* event)
{
    // A base rule still being typed moves the window first: the click that
    // commits it must not tick a rule of the window the user no longer sees.
    if (watched == clbCBERangeSelector->viewport()
        && (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick)
        && spnBaseCBERule->IsCommitPending()) {
        spnBaseCBERule->CommitPending();
        return true;
    }
    if (watched == clbCBERangeSelector && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            Guarded([this] { EditRuleExecute(); });
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
