#include <QCheckBox>
#include <QFile>
#include <QGroupBox>
#include <QHeaderView>
#include <QMimeData>
#include <QProgressBar>
#include <QRadioButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <memory>

#include "EngineFakes.h"
#include "LoadTexts.h"
#include "SourceMode.h"
#include "WindowDriver.h"
#include "frmMain.h"
#include "frmSelectRep.h"

using namespace WindowDriver;

class frmMainTest : public QObject {
    Q_OBJECT

    FakeDatabase db;
    ScriptedMessageBox boxes;
    FixedClock clock;
    // What the operator does in the next modal dialog.
    std::function<void(QDialog&)> operatorInDialog;
    std::unique_ptr<frmMain> window;
    QTemporaryDir scripts;
    const QByteArray home = qgetenv("HOME");  // export tests move it

    template <class Control>
    Control* W(const char* name) {
        return Find<Control>(*window, name);
    }

    void Connect(const QString& server = QStringLiteral("srv")) {
        operatorInDialog = [server](QDialog& dialog) {
            EnterSqlLogin(dialog, server, QStringLiteral("base"), QStringLiteral("sa"),
                          QStringLiteral("pw"));
            if (dialog.isVisible()) Click(dialog, "cmdAnnuler");
        };
        Click(*window, "cmdConnexion");
    }

    void WriteScript(const QString& name, const QByteArray& text) {
        QFile file(scripts.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(text);
    }

    // Three scripts, the second rejected with a message that needs CSV quoting.
    void LoadThreeScripts() {
        WriteScript(QStringLiteral("a.sql"), "select 1\r\n");
        WriteScript(QStringLiteral("b.sql"), "fail me\r\n");
        WriteScript(QStringLiteral("c.sql"), "select 3\r\n");
        db.failures[QStringLiteral("fail me")] = QStringLiteral("Erreur, \"quotée\"\nligne 2");
        Connect();
        Type(*window, "txtPath", scripts.path());
        Click(*window, "cmdLoad");
    }

    QStringList Row(int row) {
        auto* grid = W<QTableWidget>("lstErrProcs");
        QStringList cells;
        for (int column = 0; column < grid->columnCount(); ++column)
            cells << (grid->item(row, column) ? grid->item(row, column)->text() : QString());
        return cells;
    }

private slots:
    void init() {
        db = {};
        boxes.shown.clear();
        boxes.answer = [](const ScriptedMessageBox::Shown&) { return MsgBoxAnswer::Ok; };
        g_sSourceMode.clear();
        g_sSelectedPath.clear();
        operatorInDialog = [](QDialog&) {};
        window = std::make_unique<frmMain>(MainWindowServices{
            boxes, clock, [this] { return std::make_unique<FakeConnection>(db); },
            [this](QDialog& dialog) {
                dialog.show();
                operatorInDialog(dialog);
            }});
        window->show();
    }

    void cleanup() {
        window.reset();
        qputenv("HOME", home);
    }

    void startsInFolderModeWithNothingToLoad() {
        QCOMPARE(window->windowTitle(),
                 QStringLiteral("Velmar - Chargement en base de fichiers SQL"));
        QCOMPARE(window->size(), QSize(619, 458));
        QVERIFY(!W<QPushButton>("cmdLoad")->isEnabled());
        QVERIFY(W<QPushButton>("cmdExport")->isHidden());
        QVERIFY(W<QRadioButton>("optRepertoire")->isChecked());
        QVERIFY(W<QRadioButton>("optRepertoire")->font().bold());
        QVERIFY(!W<QRadioButton>("optFichier")->font().bold());
        QVERIFY(W<QLineEdit>("txtPath")->isEnabled());
        QVERIFY(W<QPushButton>("cmdRep")->isEnabled());
        QVERIFY(!W<QLineEdit>("txtFichier")->isEnabled());
        QVERIFY(!W<QPushButton>("cmdfichier")->isEnabled());
        QCOMPARE(W<QProgressBar>("pbProg")->value(), 0);
        QCOMPARE(W<QProgressBar>("pbProg")->maximum(), 100);
        auto* grid = W<QTableWidget>("lstErrProcs");
        QCOMPARE(grid->rowCount(), 0);
        QCOMPARE(grid->horizontalHeaderItem(0)->text(), QStringLiteral("Fichier"));
        QCOMPARE(grid->horizontalHeaderItem(1)->text(), QStringLiteral("Message"));
        QCOMPARE(grid->columnWidth(0), 167);
        QCOMPARE(grid->columnWidth(1), 400);

        QTest::keyClick(window.get(), Qt::Key_Escape);
        QVERIFY(window->isVisible());
    }

    void optionSwitchEmptiesTheFieldLeft() {
        Connect();
        Type(*window, "txtPath", QStringLiteral("/scripts"));
        QVERIFY(W<QPushButton>("cmdLoad")->isEnabled());

        W<QRadioButton>("optFichier")->click();
        QVERIFY(W<QLineEdit>("txtPath")->text().isEmpty());
        QVERIFY(!W<QLineEdit>("txtPath")->isEnabled());
        QVERIFY(!W<QPushButton>("cmdRep")->isEnabled());
        QVERIFY(W<QLineEdit>("txtFichier")->isEnabled());
        QVERIFY(W<QPushButton>("cmdfichier")->isEnabled());
        QVERIFY(W<QRadioButton>("optFichier")->font().bold());
        QVERIFY(!W<QRadioButton>("optRepertoire")->font().bold());
        QVERIFY(!W<QPushButton>("cmdLoad")->isEnabled());

        Type(*window, "txtFichier", QStringLiteral("/list.txt"));
        QVERIFY(W<QPushButton>("cmdLoad")->isEnabled());
        W<QRadioButton>("optRepertoire")->click();
        QVERIFY(W<QLineEdit>("txtFichier")->text().isEmpty());
        QVERIFY(!W<QPushButton>("cmdLoad")->isEnabled());
    }

    void loadButtonWaitsForACompleteConnection() {
        Type(*window, "txtPath", QStringLiteral("/scripts"));
        QVERIFY(!W<QPushButton>("cmdLoad")->isEnabled());
        Connect();
        QVERIFY(W<QPushButton>("cmdLoad")->isEnabled());
        W<QLineEdit>("txtPath")->clear();
        QVERIFY(!W<QPushButton>("cmdLoad")->isEnabled());
        QTest::keyClicks(W<QLineEdit>("txtPath"), QStringLiteral("x"));
        QVERIFY(W<QPushButton>("cmdLoad")->isEnabled());

        // No server: incomplete, silently; the button keeps its state and stops following.
        Connect(QString());
        QCOMPARE(boxes.shown.size(), 1);
        QCOMPARE(boxes.shown[0].text, QStringLiteral("Veuillez renseigner le nom du serveur"));
        QVERIFY(W<QPushButton>("cmdLoad")->isEnabled());
        W<QLineEdit>("txtPath")->clear();
        QVERIFY(W<QPushButton>("cmdLoad")->isEnabled());
    }

    void windowsLoginAloneIsComplete() {
        Type(*window, "txtPath", QStringLiteral("/scripts"));
        operatorInDialog = [](QDialog& dialog) {
            Find<QComboBox>(dialog, "txtServeur")->setEditText(QStringLiteral("srv"));
            Find<QComboBox>(dialog, "txtBase")->setEditText(QStringLiteral("base"));
            Find<QRadioButton>(dialog, "optLoginNT")->click();
            Click(dialog, "cmdValider");
        };
        Click(*window, "cmdConnexion");
        QVERIFY(boxes.shown.isEmpty());
        QVERIFY(W<QPushButton>("cmdLoad")->isEnabled());
    }

    void browseButtonsSetTheModeAndTakeTheChoice() {
        Connect();
        Type(*window, "txtPath", QStringLiteral("/scripts"));
        QString modeSeen;
        operatorInDialog = [&modeSeen](QDialog& dialog) {
            modeSeen = g_sSourceMode;
            Click(dialog, "cmdAnnuler");
        };
        Click(*window, "cmdRep");
        QCOMPARE(modeSeen, kFolderMode);
        QVERIFY(W<QLineEdit>("txtPath")->text().isEmpty());
        QVERIFY(!W<QPushButton>("cmdLoad")->isEnabled());

        W<QRadioButton>("optFichier")->click();
        g_sSelectedPath = QStringLiteral("/lists/chosen.txt");
        operatorInDialog = [&modeSeen](QDialog& dialog) {
            modeSeen = g_sSourceMode;
            dialog.close();
        };
        Click(*window, "cmdfichier");
        QCOMPARE(modeSeen, kListFileMode);
        QCOMPARE(W<QLineEdit>("txtFichier")->text(), QStringLiteral("/lists/chosen.txt"));
        QVERIFY(W<QPushButton>("cmdLoad")->isEnabled());
    }

    void dropsFollowTheAllowedActions_data() {
        QTest::addColumn<int>("actions");
        QTest::addColumn<bool>("withText");
        QTest::addColumn<bool>("withFiles");
        QTest::addColumn<QString>("expected");
        const QString unchanged;
        QTest::newRow("copy+move takes the text") << 3 << true << true << "dropped text";
        QTest::newRow("copy+move+link takes the first file") << 7 << true << true << "/d/one.sql";
        QTest::newRow("copy only") << 1 << true << true << unchanged;
        QTest::newRow("move only") << 2 << true << true << unchanged;
        QTest::newRow("copy+link") << 5 << true << true << unchanged;
        QTest::newRow("copy+move without text") << 3 << false << true << unchanged;
        QTest::newRow("copy+move+link without files") << 7 << true << false << unchanged;
    }

    void dropsFollowTheAllowedActions() {
        QFETCH(int, actions);
        QFETCH(bool, withText);
        QFETCH(bool, withFiles);
        QFETCH(QString, expected);
        Connect();
        QLineEdit* field = W<QLineEdit>("txtPath");
        QMimeData data;
        if (withText) data.setText(QStringLiteral("dropped text"));
        if (withFiles)
            data.setUrls({QUrl::fromLocalFile(QStringLiteral("/d/one.sql")),
                          QUrl::fromLocalFile(QStringLiteral("/d/two.sql")),
                          QUrl::fromLocalFile(QStringLiteral("/d/three.sql"))});
        // As a drag does it: the drop goes to the field that accepted the drag's entry.
        QDragEnterEvent enter(QPoint(5, 5), Qt::DropActions(actions), &data, Qt::LeftButton,
                              Qt::NoModifier);
        QApplication::sendEvent(field, &enter);
        QDropEvent drop(QPointF(5, 5), Qt::DropActions(actions), &data, Qt::LeftButton,
                        Qt::NoModifier);
        QApplication::sendEvent(field, &drop);
        QCOMPARE(field->text(), expected);
        // The drop counts as a change of the field.
        QCOMPARE(W<QPushButton>("cmdLoad")->isEnabled(), !expected.isEmpty());
    }

    void loadFillsTheGridAndBarAndLocksTheSource() {
        bool checkedDuringLoad = false;
        boxes.answer = [&](const ScriptedMessageBox::Shown&) {
            // The summary box: the load has not returned yet.
            checkedDuringLoad = true;
            [&] {
                QVERIFY(!W<QPushButton>("cmdLoad")->isEnabled());
                QVERIFY(W<QPushButton>("cmdExport")->isHidden());
                QVERIFY(!W<QLineEdit>("txtPath")->isEnabled());
                QVERIFY(!W<QPushButton>("cmdConnexion")->isEnabled());
                QVERIFY(!window->close());
                QVERIFY(window->isVisible());
                QCOMPARE(W<QProgressBar>("pbProg")->maximum(), 3);
                QCOMPARE(W<QProgressBar>("pbProg")->value(), 3);
            }();
            return MsgBoxAnswer::Ok;
        };
        LoadThreeScripts();
        QVERIFY(checkedDuringLoad);
        QCOMPARE(W<QTableWidget>("lstErrProcs")->rowCount(), 3);
        QCOMPARE(Row(0), (QStringList{"a.sql", "Réussi"}));
        QCOMPARE(Row(1), (QStringList{"b.sql", "Erreur, \"quotée\"\nligne 2"}));
        QCOMPARE(Row(2), (QStringList{"c.sql", "Réussi"}));
        QCOMPARE(boxes.shown.size(), 1);
        QCOMPARE(boxes.shown[0].text, LoadTexts::Summary(3, 2, 1, std::nullopt, 0));
        QVERIFY(!W<QPushButton>("cmdExport")->isHidden());
        QVERIFY(W<QPushButton>("cmdLoad")->isEnabled());
        QVERIFY(W<QLineEdit>("txtPath")->isEnabled());
        QVERIFY(!W<QPushButton>("cmdfichier")->isEnabled());

        // Stop at the first error: a fresh grid, and the bar restarted from 0.
        boxes.answer = [](const ScriptedMessageBox::Shown&) { return MsgBoxAnswer::Ok; };
        W<QCheckBox>("chkErrorStop")->click();
        Click(*window, "cmdLoad");
        QCOMPARE(W<QTableWidget>("lstErrProcs")->rowCount(), 2);
        QCOMPARE(Row(1)[0], QStringLiteral("b.sql"));
        QCOMPARE(W<QProgressBar>("pbProg")->value(), 1);
        QCOMPARE(boxes.shown.last().text, LoadTexts::Summary(3, 1, 1, 1, 0));
    }

    void exportWritesEveryRowOnce() {
        QTemporaryDir home;
        qputenv("HOME", QFile::encodeName(home.path()));
        LoadThreeScripts();
        Click(*window, "cmdExport");
        QFile file(home.filePath(QStringLiteral("export.csv")));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(file.readAll()),
                 QStringLiteral("a.sql,Réussi\r\n"
                                "b.sql,\"Erreur, \"\"quotée\"\"\nligne 2\"\r\n"
                                "c.sql,Réussi\r\n"));
        QVERIFY(W<QPushButton>("cmdExport")->isHidden());
    }

    void exportFailureIsToldAndExportStays() {
        qputenv("HOME", "/proc/velmar");
        LoadThreeScripts();
        const qsizetype before = boxes.shown.size();
        Click(*window, "cmdExport");
        QCOMPARE(boxes.shown.size(), before + 1);
        QVERIFY(boxes.shown.last().text.startsWith(
            QStringLiteral("L'export vers /proc/velmar/export.csv a échoué : ")));
        QCOMPARE(boxes.shown.last().style, MsgBoxStyle::CriticalOk);
        QVERIFY(!W<QPushButton>("cmdExport")->isHidden());
    }

    void progressBarTakesEachNewMaximumFromZero() {
        auto* bar = W<QProgressBar>("pbProg");
        window->ProgressBar_SetMaxStep(12);
        for (int i = 0; i < 12; ++i) window->ProgressBar_AddStep();
        QCOMPARE(bar->value(), 12);
        window->ProgressBar_SetMaxStep(5);
        QCOMPARE(bar->value(), 0);
        QCOMPARE(bar->maximum(), 5);
        for (const qint32 none : {0, -3}) {
            window->ProgressBar_SetMaxStep(none);
            QCOMPARE(bar->value(), 0);
            QVERIFY(bar->maximum() > bar->minimum());  // empty, not Qt's busy indicator
        }
    }

    void gridRowsSplitAtTheFirstTab() {
        window->AddItem(QStringLiteral("x.sql\tpart one\tpart two"));
        window->AddItem(QStringLiteral("no tab"));
        QCOMPARE(Row(0), (QStringList{"x.sql", "part one\tpart two"}));
        QCOMPARE(Row(1), (QStringList{"no tab", ""}));
    }
};

QTEST_MAIN(frmMainTest)
#include "frmMainTest.moc"
