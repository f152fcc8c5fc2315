// The fair yardstick of the start-up benchmark: the program's main window
// built in plain Qt with no logic: the same menus and actions, the toolbar
// with pictures, the device tree, the sensor grid of 99 rows beside it and the
// splash screen over it. It reports under PX10_STARTUP_PROBE exactly as
// PX10Tool does, once the main window has been painted.
#include "StartupProbe.h"

#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QPainter>
#include <QPixmap>
#include <QSplitter>
#include <QStackedWidget>
#include <QStyle>
#include <QTableWidget>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);

    // The splash: a picture and a line of text, shown first.
    QWidget splash(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    QPixmap picture(400, 300);
    picture.fill(Qt::darkRed);
    auto* pictureLabel = new QLabel(&splash);
    pictureLabel->setPixmap(picture);
    auto* text = new QLabel("Loading PX10Tool...", &splash);
    text->move(8, 270);
    splash.setFixedSize(400, 300);
    splash.show();
    splash.repaint();

    QMainWindow window;
    auto icon = [&](QStyle::StandardPixmap p) { return window.style()->standardIcon(p); };
    auto action = [&](const char* caption, const char* key = nullptr, QIcon i = {}) {
        auto* a = new QAction(i, caption, &window);
        if (key)
            a->setShortcut(QKeySequence(key));
        a->setStatusTip(caption);
        return a;
    };
    auto add = [](QWidget* menu, QAction* a) {
        menu->addAction(a);
        return a;
    };
    QMenu* file = window.menuBar()->addMenu("&File");
    QAction* fileNew = add(file, action("&New", "Ctrl+N", icon(QStyle::SP_FileIcon)));
    QAction* fileOpen = add(file, action("&Open...", "Ctrl+O", icon(QStyle::SP_DirOpenIcon)));
    QAction* fileSave = add(file, action("&Save", "Ctrl+S", icon(QStyle::SP_DialogSaveButton)));
    add(file, action("Save &As..."));
    file->addSeparator();
    QAction* preview = add(file, action("Print Preview", nullptr, icon(QStyle::SP_FileDialogContentsView)));
    QAction* print = add(file, action("Print", "Ctrl+P", icon(QStyle::SP_DialogApplyButton)));
    add(file, action("Printer Setup"));
    file->addSeparator();
    for (int i = 0; i < 5; ++i)
        add(file, action(""))->setVisible(false);
    add(file, action("E&xit", "Ctrl+Q"));
    QMenu* edit = window.menuBar()->addMenu("&Edit");
    QAction* cut = add(edit, action("Cu&t Device", "Ctrl+X", icon(QStyle::SP_TrashIcon)));
    QAction* copy = add(edit, action("&Copy Device", "Ctrl+C", icon(QStyle::SP_FileLinkIcon)));
    QAction* paste = add(edit, action("&Paste Device", "Ctrl+V", icon(QStyle::SP_ArrowDown)));
    QMenu* view = window.menuBar()->addMenu("&View");
    add(view, action("&General Setup Options", "Ctrl+G"));
    add(view, action("&Onboard Output Circuits", "Ctrl+D"));
    add(view, action("&Zone Text", "Ctrl+Z"));
    add(view, action("&CBE Rules", "Ctrl+B"));
    QMenu* tools = window.menuBar()->addMenu("&Tools");
    QAction* send = add(tools, action("Send to Panel", "Ctrl+T", icon(QStyle::SP_ArrowUp)));
    QAction* receive = add(tools, action("&Receive from Panel", "Ctrl+R", icon(QStyle::SP_ArrowDown)));
    tools->addSeparator();
    add(tools, action("Fetch Event &Log"));
    add(tools, action("Fetch &Device Data"));
    add(tools, action("&Log Device"));
    tools->addSeparator();
    add(tools, action("Serial &Port Setup", "Ctrl+E"));
    add(tools->addMenu("&Language"), action("VdS Compatibility"));
    QMenu* help = window.menuBar()->addMenu("&Help");
    QAction* manual = add(help, action("PX1x/2x User &Manual", "F1", icon(QStyle::SP_DialogHelpButton)));
    help->addSeparator();
    add(help, action("&About...", "Ctrl+A"));

    QToolBar* bar = window.addToolBar("ToolBar1");
    for (QAction* a : { fileNew, fileOpen, fileSave })
        bar->addAction(a);
    bar->addSeparator();
    for (QAction* a : { print, preview })
        bar->addAction(a);
    bar->addSeparator();
    for (QAction* a : { cut, copy, paste })
        bar->addAction(a);
    bar->addSeparator();
    for (QAction* a : { send, receive, manual })
        bar->addAction(a);

    auto* tree = new QTreeWidget;
    tree->setHeaderHidden(true);
    auto* panel = new QTreeWidgetItem(QStringList("Panel"));
    tree->addTopLevelItem(panel);
    panel->addChild(new QTreeWidgetItem(QStringList("Onboard Outputs")));
    auto* loop = new QTreeWidgetItem(QStringList("Loop"));
    panel->addChild(loop);
    loop->addChild(new QTreeWidgetItem(QStringList("Sensors")));
    loop->addChild(new QTreeWidgetItem(QStringList("Modules")));
    tree->expandAll();

    const QStringList columns { "Address", "Description", "Zone", "Protocol", "Type", "Alarm", "PA", "Day",
        "PD", "Group", "App.Num.", "Rem. Output", "CBE Rule" };
    auto* grid = new QTableWidget(99, int(columns.size()));
    grid->setHorizontalHeaderLabels(columns);
    grid->verticalHeader()->hide();
    for (int r = 0; r < 99; ++r) {
        grid->setItem(r, 0, new QTableWidgetItem(QString::number(r + 1)));
        grid->setItem(r, 2, new QTableWidgetItem("1"));
        grid->setItem(r, 12, new QTableWidgetItem("(1) 1"));
    }
    auto* frames = new QStackedWidget;
    frames->addWidget(grid);

    auto* split = new QSplitter;
    split->addWidget(tree);
    split->addWidget(frames);
    split->setStretchFactor(1, 1);
    split->setSizes({ 201, 733 });
    window.setCentralWidget(split);
    window.resize(942, 710);
    window.setWindowTitle("PX1x/2x");

    QTimer::singleShot(500, &splash, [&] { splash.close(); });
    platform::InstallStartupProbe(&window);
    window.show();
    splash.raise();
    return app.exec();
}
