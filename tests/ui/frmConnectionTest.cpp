#include <QTest>

#include "EngineFakes.h"
#include "WindowDriver.h"
#include "frmConnection.h"

using namespace WindowDriver;

class frmConnectionTest : public QObject {
    Q_OBJECT

private slots:
    void validerNeedsServerAndDatabase_data() {
        QTest::addColumn<QStringList>("entries");  // server, database
        QTest::addColumn<bool>("accepted");
        QTest::newRow("complete") << QStringList{"srv", "base"} << true;
        QTest::newRow("no server") << QStringList{"", "base"} << false;
        QTest::newRow("no database") << QStringList{"srv", ""} << false;
    }

    void validerNeedsServerAndDatabase() {
        QFETCH(QStringList, entries);
        QFETCH(bool, accepted);
        ConnectionValues values;
        values.m_bConnexionSQL = true;  // as the main window asks
        ScriptedMessageBox box;
        frmConnection dialog(values, box, nullptr);
        dialog.show();
        EnterLogin(dialog, entries[0], entries[1]);
        QCOMPARE(dialog.isVisible(), !accepted);
        QCOMPARE(box.shown.size(), accepted ? 0 : 1);  // the field asked for
    }
};

QTEST_MAIN(frmConnectionTest)
#include "frmConnectionTest.moc"
