#include <QComboBox>
#include <QLineEdit>
#include <QProgressBar>
#include <QSemaphore>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include "EngineFakes.h"
#include "FileList.h"
#include "FolderList.h"
#include "QtMessageBox.h"
#include "SourceMode.h"
#include "frmMain.h"
#include "frmSelectRep.h"

// Drives a window the way an operator would, by the names of its controls.
template <class Control = QAbstractButton>
Control* Find(const QWidget& window, const char* name) {
    auto* control = window.findChild<Control*>(QString::fromLatin1(name));
    if (!control) qFatal("no control %s", name);
    return control;
}

static void EnterLogin(const QDialog& dialog, const QString& server, const QString& database) {
    Find<QComboBox>(dialog, "txtServeur")->setEditText(server);
    Find<QComboBox>(dialog, "txtBase")->setEditText(database);
    Find<QLineEdit>(dialog, "txtUser")->setText("sa");
    Find(dialog, "cmdValider")->click();
}

class WindowsTest : public QObject {
    Q_OBJECT

    FakeDatabase db;
    ScriptedMessageBox boxes;
    FixedClock clock;
    int rowsWhileLoading = -1;
    std::unique_ptr<frmMain> window;
    std::unique_ptr<QTemporaryDir> dir;

    QString Write(const QString& name, const QString& text) const {
        QFile file(dir->filePath(name));
        if (!file.open(QIODevice::WriteOnly) || file.write(text.toUtf8()) < 0) qFatal("write");
        return file.fileName();
    }

    void NewWindow(const QString& base = "base") {
        const auto connection = [this] {  // on the worker, while the window handles its events
            QSemaphore windowLive;
            const auto live = [&] {
                rowsWhileLoading = Find<QTableWidget>(*window, "lstErrProcs")->rowCount();
                windowLive.release();
            };
            QMetaObject::invokeMethod(window.get(), live, Qt::QueuedConnection);
            if (!windowLive.tryAcquire(1, 5000)) qFatal("the load holds up the window");
            return std::make_unique<FakeConnection>(db);
        };
        const auto enterLogin = [base](QDialog& dialog) { EnterLogin(dialog, "srv", base); };
        window =
            std::make_unique<frmMain>(MainWindowServices{boxes, clock, connection, enterLogin});
        window->show();
        Find(*window, "cmdConnexion")->click();
    }

private slots:
    void init() { dir = std::make_unique<QTemporaryDir>(); }

    void messageBoxMapsStyleButtonsToAnswers() {
        for (const auto& [style, pressed, answer] : {std::tuple{21, QMessageBox::Retry, 4},
                                                     {21, QMessageBox::Cancel, 2},
                                                     {50, QMessageBox::Ignore, 5}}) {
            QMessageBox box;
            QtMessageBox::Configure(box, "text", style, "");
            QVERIFY(box.button(pressed));
            QCOMPARE(QtMessageBox::AnswerCode(pressed), answer);
        }
    }

    void connectionNeedsServerAndDatabase() {
        for (const auto& [server, base, accepted] :
             {std::tuple{"srv", "base", true}, {"", "base", false}, {"srv", "", false}}) {
            ConnectionValues values;
            values.m_bConnexionSQL = true;  // as the main window asks
            ScriptedMessageBox box;
            frmConnection dialog(values, box, nullptr);
            dialog.show();
            EnterLogin(dialog, server, base);
            QCOMPARE(dialog.isVisible(), !accepted);
            QCOMPARE(box.shown.size(), accepted ? 0 : 1);  // the field asked for
        }
    }

    void chooserListModeNeedsAListFile() {
        Write("list.txt", "");
        for (const bool picked : {false, true}) {
            g_sSourceMode = kListFileMode;
            ScriptedMessageBox box;
            frmSelectRep dialog(box, nullptr);
            dialog.show();
            Find(dialog, "WchkWithFiles")->click();
            Find<FolderList>(dialog, "WdirSelectRepertoires")->setPath(dir->path());
            Find<FileList>(dialog, "WfilSelectFichiers")->item(0)->setSelected(picked);
            Find(dialog, "cmdValider")->click();
            QCOMPARE(dialog.isVisible(), !picked);
            QCOMPARE(QFileInfo(g_sSelectedPath).fileName(), picked ? "list.txt" : "");
        }
    }

    // The script pane shows what a load of the folder takes, a dangling link included.
    void chooserListsTheScriptsOfALoad() {
        for (const char* name : {"b.sql", ".h.sql", "c.txt"}) Write(name, "");
        QFile::link(dir->filePath("gone"), dir->filePath("A.SQL"));
        g_sSourceMode = kFolderMode;
        ScriptedMessageBox box;
        frmSelectRep dialog(box, nullptr);
        Find(dialog, "WchkWithFiles")->click();
        Find<FolderList>(dialog, "WdirSelectRepertoires")->setPath(dir->path());
        const auto* files = Find<FileList>(dialog, "WfilSelectFichiers");
        QStringList names;
        for (int i = 0; i < files->count(); ++i) names << files->item(i)->text();
        QCOMPARE(names, (QStringList{"A.SQL", "b.sql"}));
    }

    void loadNeedsADatabase() {
        NewWindow("");
        Find<QLineEdit>(*window, "txtPath")->setText(dir->path());
        QVERIFY(!Find(*window, "cmdLoad")->isEnabled());
    }

    // The load runs on a worker: the grid is reset first, progress arrives before each box,
    // each answer reaches the engine, and the window refuses to close until the end.
    void loadAsksThroughTheWindowThenExportsTheGrid() {
        NewWindow();
        const QString b = Write("b.sql", "fail one"), c = Write("c.sql", "fail two");
        const QString list = Write("l.txt", dir->filePath("missing.sql") + "\r\n" + b + "\r\n" + c);
        db.failures = {{"fail one", "Syntaxe, ligne 2"}, {"fail two", "Nom \"x\" absent"}};
        auto* bar = Find<QProgressBar>(*window, "pbProg");
        auto* grid = Find<QTableWidget>(*window, "lstErrProcs");
        QList<QList<int>> seen;  // bar value and maximum, grid rows, closed
        QList<qint32> answers{MsgBoxAnswer::Retry, MsgBoxAnswer::Ignore, MsgBoxAnswer::Ok};
        boxes.answer = [&](const ScriptedMessageBox::Shown&) {
            seen << QList<int>{bar->value(), bar->maximum(), grid->rowCount(), window->close()};
            return answers.takeFirst();
        };
        window->AddItem("previous.sql\tRéussi");
        Find(*window, "optFichier")->click();
        Find<QLineEdit>(*window, "txtFichier")->setText(list);
        g_sSourceMode = kFolderMode;  // left by a browse
        Find(*window, "cmdLoad")->click();
        QCOMPARE(rowsWhileLoading, 0);
        // Retry checked the list again, Ignore went on.
        QCOMPARE(seen, (QList<QList<int>>{{0, 3, 0, 0}, {0, 3, 0, 0}, {3, 3, 2, 0}}));
        QCOMPARE(db.batches, (QStringList{"fail one", "fail two"}));

        qputenv("HOME", QFile::encodeName(dir->path()));
        Find(*window, "cmdExport")->click();
        QFile csv(dir->filePath("export.csv"));
        QVERIFY(csv.open(QIODevice::ReadOnly));
        QCOMPARE(csv.readAll(), "b.sql,\"Syntaxe, ligne 2\"\r\nc.sql,\"Nom \"\"x\"\" absent\"\r\n");
    }
};

QTEST_MAIN(WindowsTest)
#include "WindowsTest.moc"
