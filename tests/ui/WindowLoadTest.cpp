#include <QFile>
#include <QProgressBar>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include "EngineFakes.h"
#include "LoadTexts.h"
#include "SourceMode.h"
#include "TConnection.h"
#include "TdsTestServer.h"
#include "WindowDriver.h"
#include "frmMain.h"

using namespace WindowDriver;

// The main window, recording the engine's progress calls on their way in.
class RecordingWindow final : public frmMain {
public:
    using frmMain::frmMain;
    QStringList calls;

    void ProgressBar_SetMaxStep(qint32 lMax) override {
        calls << QStringLiteral("max %1").arg(lMax);
        frmMain::ProgressBar_SetMaxStep(lMax);
    }
    void ProgressBar_AddStep() override {
        calls << QStringLiteral("step");
        frmMain::ProgressBar_AddStep();
    }
    void AddItem(const QString& text) override {
        calls << QStringLiteral("item ") + text;
        frmMain::AddItem(text);
    }
    void Refresh() override {
        calls << QStringLiteral("refresh");
        frmMain::Refresh();
    }
};

// A load from the window through unixODBC and FreeTDS to the project's TDS test server.
class WindowLoadTest : public QObject {
    Q_OBJECT

    static void Write(const QTemporaryDir& dir, const QString& name, const QByteArray& text) {
        QFile file(dir.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(text);
    }

private slots:
    void folderLoadFillsTheGridAndEndsWithTheSummary() {
        TdsTestServer server;
        QTemporaryDir scripts;
        Write(scripts, QStringLiteral("1_ok.sql"), "create procedure p1 as select 1\r\ngo\r\n");
        Write(scripts, QStringLiteral("2_bad.sql"),
              "select 2\r\ngo\r\nraiserror('boom', 16, 1)\r\n");
        Write(scripts, QStringLiteral("3_ok.sql"), "print 'done'\r\n");
        g_sSourceMode.clear();

        ScriptedMessageBox boxes;
        FixedClock clock;
        RecordingWindow window(MainWindowServices{
            boxes, clock, [] { return std::make_unique<TConnection>(); },
            [&server](QDialog& dialog) {
                dialog.show();
                EnterSqlLogin(dialog, server.ServerName(), QStringLiteral("Demo"),
                              QStringLiteral("sa"), QStringLiteral("secret"));
            }});
        window.show();
        Click(window, "cmdConnexion");
        Type(window, "txtPath", scripts.path());
        Click(window, "cmdLoad");

        const QString rejected = QStringLiteral("2_bad.sql\t[FreeTDS][SQL Server]boom");
        QCOMPARE(window.calls, (QStringList{"max 3", "item 1_ok.sql\tRéussi", "refresh", "step",
                                            "item " + rejected, "refresh", "step",
                                            "item 3_ok.sql\tRéussi", "refresh", "step"}));
        auto* grid = Find<QTableWidget>(window, "lstErrProcs");
        QCOMPARE(grid->rowCount(), 3);
        QCOMPARE(grid->item(1, 0)->text(), QStringLiteral("2_bad.sql"));
        QCOMPARE(grid->item(1, 1)->text(), QStringLiteral("[FreeTDS][SQL Server]boom"));
        QCOMPARE(grid->item(2, 1)->text(), QStringLiteral("Réussi"));
        QCOMPARE(Find<QProgressBar>(window, "pbProg")->value(), 3);
        QCOMPARE(boxes.shown.size(), 1);
        QCOMPARE(boxes.shown[0].text, LoadTexts::Summary(3, 2, 1, std::nullopt, 0));
        QVERIFY(server.Batches().join(u'\n').contains(QStringLiteral("raiserror('boom', 16, 1)")));
    }
};

QTEST_MAIN(WindowLoadTest)
#include "WindowLoadTest.moc"
