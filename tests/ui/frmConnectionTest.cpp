#include <pwd.h>
#include <unistd.h>

#include "EngineFakes.h"
#include "WindowDriver.h"
#include "frmConnection.h"

using namespace WindowDriver;

class frmConnectionTest : public QObject {
    Q_OBJECT

private slots:
    void validerChecksThenTakesTheEntries_data() {
        QTest::addColumn<QStringList>("entries");  // server, database, user ("NT": Windows login)
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("after");  // the values taken, or the field given the focus
        const auto row = [](const char* name, QStringList entries, const char* message,
                            const QString& after) {
            QTest::newRow(name) << entries << QString(message) << after;
        };
        // Looked up apart from the dialog's own lookup, so a wrong account shows.
        const QString account = QString::fromLocal8Bit(getpwuid(geteuid())->pw_name);
        row("SQL login", {" sql\tdev 01 ", " base ", "sa"}, "", "sqldev01| base |sa|pw||0|1");
        row("Windows login", {"srv", "base", "NT"}, "", "srv|base|||" + account + "|1|0");
        row("no server", {"", "db", "sa"}, "Veuillez renseigner le nom du serveur", "txtServeur");
        row("no database", {"srv", "", "sa"}, "Veuillez renseigner le nom de la base", "txtBase");
        row("no SQL user", {"srv", "db", ""}, "Veuillez renseigner l'utilisateur SQL", "txtUser");
    }

    void validerChecksThenTakesTheEntries() {
        QFETCH(QStringList, entries);
        QFETCH(QString, message);
        QFETCH(QString, after);
        ConnectionValues values;
        values.m_bConnexionSQL = true;  // as the main window asks
        ScriptedMessageBox box;
        frmConnection dialog(values, box, nullptr);
        dialog.show();
        QTest::keyClicks(Find(dialog, "txtUser"), "typed first");  // the Windows option clears it
        Find(dialog, "cmdValider")->setFocus();                    // where a mouse click leaves it
        const bool windowsLogin = entries[2] == "NT";
        EnterLogin(dialog, entries[0], entries[1], entries[2], "pw", windowsLogin);
        QCOMPARE(box.shown.isEmpty() ? QString() : box.shown[0].text, message);
        QCOMPARE(dialog.isVisible(), !message.isEmpty());
        if (!message.isEmpty()) {
            QCOMPARE(dialog.focusWidget(), Find(dialog, after.toLatin1()));
            return;
        }
        const QString taken = QStringLiteral("%1|%2|%3|%4|%5|%6|%7")
                                  .arg(values.m_sServer, values.m_sDatabase, values.m_sUser,
                                       values.m_sPassword, values.m_sLoginNT)
                                  .arg(values.m_bConnexionNT)
                                  .arg(values.m_bConnexionSQL);
        QCOMPARE(taken, after);
    }
};

QTEST_MAIN(frmConnectionTest)
#include "frmConnectionTest.moc"
