#include <QProgressBar>
#include <QSemaphore>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "EngineFakes.h"
#include "SourceMode.h"
#include "TConnection.h"
#include "TdsTestServer.h"
#include "WindowDriver.h"
#include "frmMain.h"

using namespace WindowDriver;

class frmMainTest : public QObject {
    Q_OBJECT

    FakeDatabase db;
    ScriptedMessageBox boxes;
    FixedClock clock;
    QString server, database;  // what the operator enters in the connection dialog
    bool throughOdbc = false;  // the load goes through unixODBC and FreeTDS, not the fake
    std::unique_ptr<frmMain> window;
    std::unique_ptr<QTemporaryDir> dir;

    QString Write(const QString& name, const QByteArray& text) const {
        QFile file(dir->filePath(name));
        if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size()) qFatal("write");
        return file.fileName();
    }

private slots:
    void init() {
        db = {};
        boxes = {};
        server = "srv";
        database = "base";
        throughOdbc = false;
        dir = std::make_unique<QTemporaryDir>();
        const auto connection = [this] {  // on the worker, while the window handles its events
            QSemaphore windowLive;
            QMetaObject::invokeMethod(
                window.get(), [&] { windowLive.release(); }, Qt::QueuedConnection);
            if (!windowLive.tryAcquire(1, 5000)) qFatal("the load holds up the window");
            return throughOdbc ? std::unique_ptr<IConnection>(std::make_unique<TConnection>())
                               : std::make_unique<FakeConnection>(db);
        };
        const auto enterLogin = [this](QDialog& dialog) { EnterLogin(dialog, server, database); };
        window =
            std::make_unique<frmMain>(MainWindowServices{boxes, clock, connection, enterLogin});
        window->show();
    }

    // Load needs a database, and loads the path as the option says whatever a browse left.
    void loadFollowsConnectionAndOption_data() {
        QTest::addColumn<QString>("base");
        QTest::addColumn<bool>("list");
        QTest::addColumn<QStringList>("batches");
        QTest::newRow("folder") << "base" << false << QStringList{"select 1"};
        QTest::newRow("list") << "base" << true << QStringList{"select 1"};
        QTest::newRow("no database") << "" << false << QStringList{};
    }

    void loadFollowsConnectionAndOption() {
        QFETCH(QString, base);
        QFETCH(bool, list);
        QFETCH(QStringList, batches);
        const QString listFile = Write("list.txt", Write("a.sql", "select 1").toUtf8());
        database = base;
        Click(*window, "cmdConnexion");
        Click(*window, list ? "optFichier" : "optRepertoire");
        Type(*window, list ? "txtFichier" : "txtPath", list ? listFile : dir->path());
        g_sSourceMode = list ? kFolderMode : kListFileMode;  // left by a browse
        Click(*window, "cmdLoad");
        QCOMPARE(db.batches, batches);
    }

    void loadRefusesToCloseThenExportsTheGrid() {
        Write("a.sql", "select 1");
        Write("b.sql", "fail one");
        Write("c.sql", "fail two");
        db.failures["fail one"] = "Syntaxe, ligne 2";
        db.failures["fail two"] = "Nom \"x\" absent";
        bool closeRefused = false;
        boxes.answer = [&](const ScriptedMessageBox::Shown&) {  // the summary, inside the load
            closeRefused = !window->close();
            return MsgBoxAnswer::Ok;
        };
        Click(*window, "cmdConnexion");
        Type(*window, "txtPath", dir->path());
        Click(*window, "cmdLoad");
        QVERIFY(closeRefused);

        const QByteArray home = qgetenv("HOME");
        qputenv("HOME", QFile::encodeName(dir->path()));
        Click(*window, "cmdExport");
        qputenv("HOME", home);
        QFile csv(dir->filePath("export.csv"));
        QVERIFY(csv.open(QIODevice::ReadOnly));
        QCOMPARE(
            csv.readAll(),
            "a.sql,Réussi\r\nb.sql,\"Syntaxe, ligne 2\"\r\nc.sql,\"Nom \"\"x\"\" absent\"\r\n");
    }

    // Against the test server: the grid is reset and the window handles its events while a
    // batch runs, progress arrives before each box, and each answer reaches the engine.
    void windowStaysLiveWhileTheServerWorks() {
        TdsTestServer tds;
        server = tds.ServerName();
        database = "Demo";
        throughOdbc = true;
        const QString slow = Write("slow.sql", "waitfor delay '00:00:01'");
        const QString list =
            Write("l.txt", (dir->filePath("missing.sql") + "\r\n" + slow).toUtf8());
        auto* bar = Find<QProgressBar>(*window, "pbProg");
        auto* grid = Find<QTableWidget>(*window, "lstErrProcs");
        QStringList seenInBoxes;
        QList<qint32> answers{MsgBoxAnswer::Retry, MsgBoxAnswer::Ignore, MsgBoxAnswer::Ok};
        boxes.answer = [&](const ScriptedMessageBox::Shown&) {
            seenInBoxes << QStringLiteral("%1/%2 %3 rows")
                               .arg(bar->value())
                               .arg(bar->maximum())
                               .arg(grid->rowCount());
            return answers.takeFirst();
        };
        window->AddItem("previous.sql\tRéussi");
        Click(*window, "cmdConnexion");
        Click(*window, "optFichier");
        Type(*window, "txtFichier", list);
        int rowsDuringBatch = -1;
        QTimer probe;  // fires on the window's thread, only while its events are handled
        probe.callOnTimeout([&] {
            if (rowsDuringBatch < 0 && tds.Batches().join(' ').contains("waitfor"))
                rowsDuringBatch = grid->rowCount();
        });
        probe.start(0);
        Click(*window, "cmdLoad");
        QCOMPARE(rowsDuringBatch, 0);
        // Retry restarted the pass, Ignore went on.
        QCOMPARE(seenInBoxes, (QStringList{"0/2 0 rows", "0/2 0 rows", "2/2 1 rows"}));
    }
};

QTEST_MAIN(frmMainTest)
#include "frmMainTest.moc"
