#include <QFile>
#include <QProgressBar>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>

#include "EngineFakes.h"
#include "SourceMode.h"
#include "TConnection.h"
#include "TdsTestServer.h"
#include "WindowDriver.h"
#include "frmMain.h"
#include "frmSelectRep.h"

using namespace WindowDriver;

class frmMainTest : public QObject {
    Q_OBJECT

    FakeDatabase db;
    ScriptedMessageBox boxes;
    FixedClock clock;
    std::function<std::unique_ptr<IConnection>()> newConnection;
    std::function<void(QDialog&)> operatorInDialog;  // what the operator does in the next dialog
    std::unique_ptr<frmMain> window;
    std::unique_ptr<QTemporaryDir> dir;

    // Fills the connection dialog (no user: Windows login); Annuler if Valider refuses it.
    void Connect(const QString& server, const QString& database, const QString& user = "sa") {
        operatorInDialog = [=](QDialog& dialog) {
            EnterLogin(dialog, server, database, user, "secret", user.isEmpty());
            if (dialog.isVisible()) Click(dialog, "cmdAnnuler");
        };
        Click(*window, "cmdConnexion");
    }
    bool Enabled(const char* name) const { return Find(*window, name)->isEnabled(); }
    QString Write(const QString& name, const QByteArray& text) const {
        QFile file(dir->filePath(name));
        if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size()) qFatal("write");
        return file.fileName();
    }
    QStringList Rows() const {
        auto* grid = Find<QTableWidget>(*window, "lstErrProcs");
        QStringList rows;
        for (int row = 0; row < grid->rowCount(); ++row)
            rows << grid->item(row, 0)->text() + u'|' + grid->item(row, 1)->text();
        return rows;
    }

private slots:
    void init() {
        db = {};
        boxes.shown.clear();
        boxes.answer = [](const ScriptedMessageBox::Shown&) { return MsgBoxAnswer::Ok; };
        g_sSourceMode.clear();
        g_sSelectedPath.clear();
        dir = std::make_unique<QTemporaryDir>();
        newConnection = [this] { return std::make_unique<FakeConnection>(db); };
        const auto showModal = [this](QDialog& dialog) {
            dialog.show();
            operatorInDialog(dialog);
        };
        const auto connection = [this] { return newConnection(); };
        window = std::make_unique<frmMain>(MainWindowServices{boxes, clock, connection, showModal});
        window->show();
    }

    void loadNeedsACompleteConnectionAndAPath_data() {
        QTest::addColumn<QStringList>("connection");  // server, database, user
        QTest::addColumn<bool>("complete");
        QTest::newRow("SQL login") << QStringList{"srv", "base", "sa"} << true;
        QTest::newRow("Windows login") << QStringList{"srv", "base", ""} << true;
        QTest::newRow("no server") << QStringList{"", "base", "sa"} << false;
        QTest::newRow("no database") << QStringList{"srv", "", "sa"} << false;
    }

    void loadNeedsACompleteConnectionAndAPath() {
        QFETCH(QStringList, connection);
        QFETCH(bool, complete);
        Type(*window, "txtPath", "/scripts");  // before connecting: the button waits
        Connect(connection[0], connection[1], connection[2]);
        QCOMPARE(Enabled("cmdLoad"), complete);
        if (!complete) return;
        Click(*window, "optFichier");  // empties the folder field and enables the list's
        QVERIFY(!Enabled("cmdLoad") && Find<QLineEdit>(*window, "txtPath")->text().isEmpty());
        QVERIFY(Enabled("txtFichier") && Enabled("cmdfichier"));
        QVERIFY(!Enabled("txtPath") && !Enabled("cmdRep"));
    }

    // Typed or browsed, the path is loaded as the selected option says.
    void sourceKindFollowsTheOption_data() {
        QTest::addColumn<bool>("browseListFirst");
        QTest::addColumn<bool>("listOption");
        QTest::newRow("list typed") << false << true;
        QTest::newRow("folder typed after a list was browsed") << true << false;
    }

    void sourceKindFollowsTheOption() {
        QFETCH(bool, browseListFirst);
        QFETCH(bool, listOption);
        const QString list = Write("list.txt", Write("a.sql", "select 1").toUtf8());
        Connect("srv", "base");
        if (browseListFirst) {
            Click(*window, "optFichier");
            g_sSelectedPath = list;
            operatorInDialog = [](QDialog& chooser) {
                QCOMPARE(g_sSourceMode, kListFileMode);
                chooser.close();
            };
            Click(*window, "cmdfichier");
            QCOMPARE(Find<QLineEdit>(*window, "txtFichier")->text(), list);
        }
        Click(*window, listOption ? "optFichier" : "optRepertoire");
        Type(*window, listOption ? "txtFichier" : "txtPath", listOption ? list : dir->path());
        Click(*window, "cmdLoad");
        QCOMPARE(Rows(), QStringList{"a.sql|Réussi"});
    }

    void loadFillsTheGridThenExportsIt() {
        Write("a.sql", "select 1");
        Write("b.sql", "fail one");
        Write("c.sql", "fail two");
        db.failures["fail one"] = "Syntaxe, ligne 2";
        db.failures["fail two"] = "Nom \"x\" absent";
        Connect("srv", "base");
        Type(*window, "txtPath", dir->path());
        bool locked = false;
        boxes.answer = [&](const ScriptedMessageBox::Shown&) {  // the summary, inside the load
            locked = !Enabled("cmdLoad") && Find(*window, "cmdExport")->isHidden() &&
                     !Enabled("txtPath") && !Enabled("cmdConnexion") && !window->close();
            return MsgBoxAnswer::Ok;
        };
        Click(*window, "cmdLoad");
        QVERIFY(locked);
        QVERIFY(Enabled("cmdLoad") && Enabled("txtPath") && window->isVisible());

        const QByteArray home = qgetenv("HOME");
        qputenv("HOME", QFile::encodeName(dir->path()));
        QVERIFY(!Find(*window, "cmdExport")->isHidden());
        Click(*window, "cmdExport");
        qputenv("HOME", home);
        QFile csv(dir->filePath("export.csv"));
        QVERIFY(csv.open(QIODevice::ReadOnly));
        QCOMPARE(
            csv.readAll(),
            "a.sql,Réussi\r\nb.sql,\"Syntaxe, ligne 2\"\r\nc.sql,\"Nom \"\"x\"\" absent\"\r\n");
        QVERIFY(Find(*window, "cmdExport")->isHidden());

        // Stopping at the first error: a fresh grid, and the bar restarted from 0.
        Click(*window, "chkErrorStop");
        Click(*window, "cmdLoad");
        QCOMPARE(Rows(), (QStringList{"a.sql|Réussi", "b.sql|Syntaxe, ligne 2"}));
        QCOMPARE(Find<QProgressBar>(*window, "pbProg")->value(), 1);
    }

    // Through unixODBC and FreeTDS to the test server, with a list whose first entry is missing.
    void windowStaysLiveWhileTheServerWorks() {
        TdsTestServer server;
        newConnection = [] { return std::make_unique<TConnection>(); };
        const QString slow = Write("slow.sql", "waitfor delay '00:00:01'");
        const QString list =
            Write("list.txt", (dir->filePath("missing.sql") + "\r\n" + slow).toUtf8());
        auto* bar = Find<QProgressBar>(*window, "pbProg");
        QStringList seenInBoxes;  // what the progress calls made before each box have shown
        QList<qint32> answers{MsgBoxAnswer::Retry, MsgBoxAnswer::Ignore, MsgBoxAnswer::Ok};
        boxes.answer = [&](const ScriptedMessageBox::Shown&) {
            seenInBoxes << QStringLiteral("%1/%2 ").arg(bar->value()).arg(bar->maximum()) +
                               Rows().join(' ');
            return answers.takeFirst();
        };
        Connect(server.ServerName(), "Demo");
        window->AddItem("previous.sql\tRéussi");
        Click(*window, "optFichier");
        Type(*window, "txtFichier", list);

        std::optional<QStringList> rowsDuringBatch;
        QTimer probe;  // fires on the window's thread, only while its events are processed
        probe.callOnTimeout([&] {
            if (!rowsDuringBatch && server.Batches().join(' ').contains("waitfor"))
                rowsDuringBatch = Rows();
        });
        probe.start(0);
        Click(*window, "cmdLoad");
        QCOMPARE(rowsDuringBatch.value_or(QStringList{"never looked"}), QStringList());
        // Retry restarted the pass, Ignore went on: the answers reached the engine.
        QCOMPARE(seenInBoxes, (QStringList{"0/2 ", "0/2 ", "2/2 slow.sql|Réussi"}));
    }
};

QTEST_MAIN(frmMainTest)
#include "frmMainTest.moc"
