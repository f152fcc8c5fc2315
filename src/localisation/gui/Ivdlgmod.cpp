#include "Ivdlgmod.h"

#include "Ivdictio.h"

#include <QApplication>
#include <QColorDialog>
#include <QDialog>
#include <QEvent>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QIdentityProxyModel>
#include <QFontDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPageSetupDialog>

#include <cstring>

namespace {

struct QtText {
    const char* Context; // null: any context
    const char* Source;
    const char* Native;
};

// Qt's texts whose English differs from the program's.
const QtText Mapped[] = {
    { "QFileDialog", "Look in:", "Look &in:" },
    { "QFileDialog", "Files of type:", "Files of &type:" },
    { "QFileDialog", "Parent Directory", "Up One Level" },
    { "QFileDialog", "List View", "List" },
    { "QFileDialog", "Detail View", "Details" },
    { "QFileSystemModel", "Date Modified", "Modified" },
    { "QFileDialog", "Date Modified", "Modified" },
};

// Qt's texts of the dialogs and boxes the program shows, taken as they stand.
const char* const Plain[] = {
    // file dialogs
    "File &name:",
    "&Open",
    "&Save",
    "Open",
    "Save As",
    "Cancel",
    "Back",
    "Forward",
    "Create New Folder",
    "Name",
    "Size",
    "Type",
    "&New Folder",
    "&Rename",
    "&Delete",
    "Show &hidden files",
    "All Files (*)",
    "My Computer",
    "Computer",
    "New Folder",
    "Recent Places",
    // the file list's type names, which some of Qt's translations lack
    "Folder",
    "Drive",
    // message box buttons and titles
    "OK",
    "&Yes",
    "&No",
    "Yes to &All",
    "N&o to All",
    "Abort",
    "Retry",
    "Ignore",
    "Close",
    "Help",
    "Warning",
    "Error",
    "Information",
    "Confirm",
    // the context menu of edit fields
    "&Undo",
    "&Redo",
    "Cu&t",
    "&Copy",
    "&Paste",
    "Delete",
    "Select All",
};

// Qt writes the file list's dates in the system's format; these follow the
// language in force.
class TLocalDates : public QIdentityProxyModel {
public:
    using QIdentityProxyModel::QIdentityProxyModel;
    QVariant data(const QModelIndex& index, int role) const override
    {
        auto* files = qobject_cast<QFileSystemModel*>(sourceModel());
        if (files && role == Qt::DisplayRole && index.column() == 3)
            return QLocale().toString(files->lastModified(mapToSource(index)), QLocale::ShortFormat);
        return QIdentityProxyModel::data(index, role);
    }
};

} // namespace

std::string IvQtNativeText(const char* context, const char* sourceText)
{
    if (!sourceText)
        return {};
    for (const QtText& t : Mapped)
        if (std::strcmp(t.Source, sourceText) == 0 && (!context || std::strcmp(t.Context, context) == 0))
            return t.Native;
    return sourceText;
}

std::vector<std::string> IvQtNativeTexts()
{
    std::vector<std::string> out;
    for (const QtText& t : Mapped)
        out.push_back(t.Native);
    for (const char* p : Plain)
        out.push_back(p);
    return out;
}

TIvDialogModule::TIvDialogModule(QObject* owner)
    : QObject(owner)
{
    setObjectName(QStringLiteral("IvDialogModule1"));
}

TIvDialogModule::~TIvDialogModule()
{
    // Every registered class is released when the module goes.
    if (FFiltering && QCoreApplication::instance())
        QCoreApplication::instance()->removeEventFilter(this);
}

void TIvDialogModule::Loaded()
{
    // The desktop's own dialogs ask nobody for their texts.
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    for (const QMetaObject* m : { &QFileDialog::staticMetaObject, &QColorDialog::staticMetaObject,
             &QFontDialog::staticMetaObject, &QPrintDialog::staticMetaObject,
             &QPageSetupDialog::staticMetaObject, &QMessageBox::staticMetaObject })
        AddDialogClass(m);
    if (parent())
        for (QDialog* d : parent()->findChildren<QDialog*>())
            AddDialogClass(d->metaObject());
}

bool TIvDialogModule::AddDialogClass(const QMetaObject* dialogClass)
{
    if (!dialogClass || !dialogClass->inherits(&QDialog::staticMetaObject) || IsRegistered(dialogClass))
        return false;
    FClasses.push_back(dialogClass);
    if (!FFiltering && QCoreApplication::instance()) {
        QCoreApplication::instance()->installEventFilter(this);
        FFiltering = true;
    }
    return true;
}

bool TIvDialogModule::RemoveDialogClass(const QMetaObject* dialogClass)
{
    auto it = std::find(FClasses.begin(), FClasses.end(), dialogClass);
    if (it == FClasses.end())
        return false;
    FClasses.erase(it);
    return true;
}

bool TIvDialogModule::IsRegistered(const QMetaObject* dialogClass) const
{
    return std::find(FClasses.begin(), FClasses.end(), dialogClass) != FClasses.end();
}

const QMetaObject* TIvDialogModule::RegisteredClassOf(const QObject* object) const
{
    for (const QMetaObject* m = object->metaObject(); m; m = m->superClass())
        if (IsRegistered(m))
            return m;
    return nullptr;
}

void TIvDialogModule::TranslateDialog(QWidget* dialog)
{
    auto* file = qobject_cast<QFileDialog*>(dialog);
    if (!file)
        return;
    const auto text = [](const char* english) { return QString::fromStdString(Translate(english)); };
    // A title that the program gave stays; Qt's default one is ours.
    const QString title = file->windowTitle();
    const bool save = file->acceptMode() == QFileDialog::AcceptSave;
    const char* native = save ? "Save As" : "Open";
    if (title.isEmpty() || title == QLatin1String(native) || title == QFileDialog::tr(native))
        file->setWindowTitle(text(native));
    file->setLabelText(QFileDialog::LookIn, save ? text("Save &in:") : text("Look &in:"));
    file->setLabelText(QFileDialog::FileType, save ? text("Save as &type:") : text("Files of &type:"));
    file->setLabelText(QFileDialog::FileName, text("File &name:"));
    if (!file->proxyModel())
        file->setProxyModel(new TLocalDates(file));
    // An accelerator shows as a literal "&" on a label without a buddy.
    for (auto [label, buddy] :
        { std::pair { "lookInLabel", "lookInCombo" }, std::pair { "fileTypeLabel", "fileTypeCombo" },
            std::pair { "fileNameLabel", "fileNameEdit" } }) {
        auto* l = file->findChild<QLabel*>(QLatin1String(label));
        auto* b = file->findChild<QWidget*>(QLatin1String(buddy));
        if (l && b)
            l->setBuddy(b);
    }
}

bool TIvDialogModule::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Show && watched->isWidgetType() && static_cast<QWidget*>(watched)->isWindow()
        && RegisteredClassOf(watched))
        TranslateDialog(static_cast<QWidget*>(watched));
    return false;
}
