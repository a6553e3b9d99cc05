// Opens the three windows on a real display (run it under Xvfb), walks through a load against
// the TDS test server and saves a picture of each window into the folder given.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>

#include "EngineFakes.h"
#include "SourceMode.h"
#include "TConnection.h"
#include "TdsTestServer.h"
#include "frmMain.h"
#include "frmSelectRep.h"

namespace {

// Drives a window the way an operator would, by the names of its controls.
template <class Control = QAbstractButton>
Control* Find(const QWidget& window, const char* name) {
    auto* control = window.findChild<Control*>(QString::fromLatin1(name));
    if (!control) qFatal("no control %s", name);
    return control;
}

void Click(const QWidget& window, const char* name) { Find(window, name)->click(); }

void Type(const QWidget& window, const char* name, const QString& text) {
    Find<QLineEdit>(window, name)->setText(text);
}

void Save(QWidget& window, const QDir& folder, const QString& name) {
    if (!QTest::qWaitForWindowExposed(&window)) qFatal("%s never showed", qPrintable(name));
    const QString path = folder.filePath(name);
    if (!window.grab().save(path)) qFatal("cannot write %s", qPrintable(path));
    std::printf("%s\n", qPrintable(path));
}

void Write(const QDir& folder, const QString& name, const QByteArray& text) {
    QFile file(folder.filePath(name));
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size())
        qFatal("cannot write %s", qPrintable(file.fileName()));
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    if (argc != 3) qFatal("usage: %s <demo scripts folder> <picture folder>", argv[0]);
    const QDir demo(QString::fromLocal8Bit(argv[1]));
    const QDir pictures(QString::fromLocal8Bit(argv[2]));

    TdsTestServer server;
    QTemporaryDir work;
    const QDir procs(work.filePath(QStringLiteral("procs")));
    procs.mkpath(QStringLiteral("."));
    for (const QString& name : demo.entryList({QStringLiteral("*.sql")}, QDir::Files))
        QFile::copy(demo.filePath(name), procs.filePath(name));
    Write(procs, QStringLiteral("05_GrantReporting.sql"),
          "raiserror('Cannot find the user ''reporting''.', 16, 1)\r\n");
    const QDir lists(work.filePath(QStringLiteral("lists")));
    lists.mkpath(QStringLiteral("."));
    for (const char* name : {"recette.txt", "production.txt", "correctifs.txt"})
        Write(lists, QString::fromLatin1(name), "01_Customer.sql\r\n");

    ScriptedMessageBox boxes;  // the summary box would wait for a click
    SystemClock clock;
    std::function<void(QDialog&)> operatorInDialog;
    frmMain window(MainWindowServices{boxes, clock, [] { return std::make_unique<TConnection>(); },
                                      [&](QDialog& dialog) {
                                          dialog.show();
                                          operatorInDialog(dialog);
                                      }});
    window.show();

    operatorInDialog = [&](QDialog& dialog) {
        Find<QComboBox>(dialog, "txtServeur")->setEditText(server.ServerName());
        Find<QComboBox>(dialog, "txtBase")->setEditText(QStringLiteral("Demo"));
        Type(dialog, "txtUser", QStringLiteral("sa"));
        Type(dialog, "txtPasswd", QStringLiteral("secret"));
        Save(dialog, pictures, QStringLiteral("connection-dialog.png"));
        Click(dialog, "cmdValider");
    };
    Click(window, "cmdConnexion");
    Type(window, "txtPath", procs.path());
    Click(window, "cmdLoad");
    Save(window, pictures, QStringLiteral("main-window.png"));

    QDir::setCurrent(lists.path());
    Find<QRadioButton>(window, "optFichier")->click();
    operatorInDialog = [&](QDialog& dialog) {
        Find<QCheckBox>(dialog, "WchkWithFiles")->click();
        auto* files = Find<QListWidget>(dialog, "WfilSelectFichiers");
        if (files->count() == 0) qFatal("no list file shown");
        files->item(0)->setSelected(true);
        Save(dialog, pictures, QStringLiteral("source-chooser.png"));
        Click(dialog, "cmdValider");
    };
    Click(window, "cmdfichier");
    return 0;
}
