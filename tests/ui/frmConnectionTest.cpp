#include <pwd.h>
#include <unistd.h>

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTest>

#include "EngineFakes.h"
#include "frmConnection.h"

namespace {

// Taken apart from the dialog's own lookup, so a wrong account shows.
QString AccountName() {
    const passwd* entry = getpwuid(geteuid());
    return entry ? QString::fromLocal8Bit(entry->pw_name) : QString();
}

QStringList Fields(const ConnectionValues& v) {
    return QStringList{v.m_sServer, v.m_sDatabase, v.m_sUser, v.m_sPassword, v.m_sLoginNT}
           << (v.m_bConnexionNT ? "NT" : "-") << (v.m_bConnexionSQL ? "SQL" : "-");
}

// One showing on the given values, as the main window makes it unless `asMainWindow` is off:
// the SQL option asked for, then the dialog shown.
struct Showing {
    ScriptedMessageBox box;
    frmConnection dialog;

    explicit Showing(ConnectionValues& values, bool asMainWindow = true, QWidget* owner = nullptr)
        : dialog(Prepare(values, asMainWindow), box, owner) {
        dialog.show();
    }

    static ConnectionValues& Prepare(ConnectionValues& values, bool asMainWindow) {
        if (asMainWindow) values.m_bConnexionSQL = true;
        return values;
    }

    template <class Control>
    Control* Get(const char* name) {
        auto* control = dialog.findChild<Control*>(QLatin1String(name));
        if (!control) qFatal("no control %s", name);
        return control;
    }
    QComboBox* Server() { return Get<QComboBox>("txtServeur"); }
    QComboBox* Base() { return Get<QComboBox>("txtBase"); }
    QLineEdit* User() { return Get<QLineEdit>("txtUser"); }
    QLineEdit* Password() { return Get<QLineEdit>("txtPasswd"); }
    QLineEdit* LoginNT() { return Get<QLineEdit>("txtLoginNT"); }
    QRadioButton* OptNT() { return Get<QRadioButton>("optLoginNT"); }
    QRadioButton* OptSQL() { return Get<QRadioButton>("optLoginSQL"); }
    QPushButton* Valider() { return Get<QPushButton>("cmdValider"); }
    QPushButton* Annuler() { return Get<QPushButton>("cmdAnnuler"); }
    bool Bold(const char* label) { return Get<QLabel>(label)->font().bold(); }

    QStringList Messages() const {
        QStringList texts;
        for (const auto& shown : box.shown) texts << shown.text;
        return texts;
    }
};

QStringList Items(QComboBox* list) {
    QStringList items;
    for (int i = 0; i < list->count(); ++i) items << list->itemText(i);
    return items;
}

}  // namespace

class frmConnectionTest : public QObject {
    Q_OBJECT

private slots:
    void windowAndLayout() {
        QWidget owner;
        owner.setGeometry(10, 10, 200, 100);
        owner.show();
        ConnectionValues values;
        Showing s(values, true, &owner);
        QCOMPARE(s.dialog.windowTitle(), QStringLiteral("Connexion SQL"));
        QCOMPARE(s.dialog.size(), QSize(393, 324));
        QVERIFY(s.dialog.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        // On the screen's centre, not the owner's where Qt would put it; the frame's margins
        // are unknown until shown, hence the slack.
        const QPoint offset = s.dialog.geometry().center() -
                              QGuiApplication::primaryScreen()->availableGeometry().center();
        QVERIFY2(qAbs(offset.x()) <= 4 && qAbs(offset.y()) <= 4,
                 qPrintable(QStringLiteral("off by %1,%2").arg(offset.x()).arg(offset.y())));

        auto* frame = s.Get<QGroupBox>("frConnexion");
        QCOMPARE(frame->title(), QStringLiteral(" Informations de connexion "));
        QCOMPARE(s.Server()->parentWidget(), frame);

        QTest::keyClicks(s.Password(), "abc");
        QCOMPARE(s.Password()->text(), QStringLiteral("abc"));
        QCOMPARE(s.Password()->displayText(), QStringLiteral("***"));

        QStringList order;
        QWidget* w = s.Valider();
        do {
            const QString name = w->objectName();
            if (name.startsWith("cmd") || name.startsWith("txt") || name.startsWith("opt"))
                order << name;
            w = w->nextInFocusChain();
        } while (w != s.Valider());
        QCOMPARE(order,
                 (QStringList{"cmdValider", "cmdAnnuler", "txtUser", "txtPasswd", "txtLoginNT",
                              "optLoginNT", "optLoginSQL", "txtServeur", "txtBase"}));
    }

    void firstShowing() {
        ConnectionValues values;
        Showing s(values);
        QCOMPARE(Items(s.Server()),
                 (QStringList{"localhost", "127.0.0.1", "sqldev01", "sqltest01", "sqlrecette01",
                              "sqlpreprod01", "sqlprod01", "sqlprod02"}));
        QCOMPARE(Items(s.Base()), (QStringList{"master", "Demo", "Sales", "Stock"}));
        QCOMPARE(s.Server()->currentIndex(), -1);
        QCOMPARE(s.Base()->currentIndex(), -1);
        // The NT field was filled at load, then emptied because the SQL option is selected.
        QCOMPARE((QStringList{s.Server()->currentText(), s.Base()->currentText(), s.User()->text(),
                              s.Password()->text(), s.LoginNT()->text()}),
                 QStringList(5));
        QVERIFY(!s.LoginNT()->isEnabled());
        QVERIFY(s.OptSQL()->isChecked() && !s.OptNT()->isChecked());
        QVERIFY(s.User()->isEnabled() && s.Password()->isEnabled());
        QVERIFY(s.Bold("lblServeur") && s.Bold("lblBase"));
        QVERIFY(s.Bold("lblUser") && s.Bold("lblPasswd") && !s.Bold("lblLoginNT"));
        QCOMPARE(s.dialog.focusWidget(), s.Server());
        QVERIFY(s.box.shown.isEmpty());
    }

    void serverLosesEveryBlankDatabaseKeepsThem() {
        ConnectionValues values;
        Showing s(values);
        QTest::keyClicks(s.Server(), " sql dev");
        s.Server()->lineEdit()->insert("\t");  // Tab itself would move the focus
        QTest::keyClicks(s.Server(), "01 ");
        QTest::keyClicks(s.Base(), " Demo base ");
        QTest::keyClicks(s.User(), "sa");  // the password may stay empty
        s.Valider()->click();

        QCOMPARE(s.Messages(), QStringList());
        QVERIFY(!s.dialog.isVisible());
        QCOMPARE(Fields(values),
                 (QStringList{"sqldev01", " Demo base ", "sa", "", "", "-", "SQL"}));
    }

    void incompleteEntriesNameTheFirstMissingField_data() {
        QTest::addColumn<QStringList>("entries");  // server, database, user
        QTest::addColumn<bool>("windowsLogin");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("focus");
        auto row = [](const char* name, QStringList entries, bool nt, const char* message,
                      const char* focus) {
            QTest::newRow(name) << entries << nt << QString(message) << QString(focus);
        };
        row("server and database empty", {"", "", "sa"}, false,
            "Veuillez renseigner le nom du serveur", "txtServeur");
        row("database empty", {"srv", "", "sa"}, false, "Veuillez renseigner le nom de la base",
            "txtBase");
        row("SQL user empty", {"srv", "db", ""}, false, "Veuillez renseigner l'utilisateur SQL",
            "txtUser");
        // The NT field is disabled: it cannot take the focus, which stays on the button.
        row("no account name", {"srv", "db", ""}, true, "Veuillez renseigner le login NT",
            "cmdValider");
    }

    void incompleteEntriesNameTheFirstMissingField() {
        QFETCH(QStringList, entries);
        QFETCH(bool, windowsLogin);
        QFETCH(QString, message);
        QFETCH(QString, focus);
        ConnectionValues values;
        Showing s(values);
        QTest::keyClicks(s.Server(), entries[0]);
        QTest::keyClicks(s.Base(), entries[1]);
        QTest::keyClicks(s.User(), entries[2]);
        if (windowsLogin) {
            s.OptNT()->click();
            s.LoginNT()->clear();  // as when the account name cannot be had
        }
        s.Valider()->setFocus();  // where a mouse click leaves it
        s.Valider()->click();

        QCOMPARE(s.Messages(), QStringList{message});
        QCOMPARE(s.box.shown.first().style, MsgBoxStyle::OkOnly);
        QCOMPARE(s.box.shown.first().title, QString());
        QVERIFY(s.dialog.isVisible());
        QCOMPARE(s.dialog.focusWidget(), s.Get<QWidget>(focus.toLatin1().constData()));
    }

    void switchingBetweenLogins() {
        const QString account = AccountName();
        QVERIFY(!account.isEmpty());
        ConnectionValues values;
        Showing s(values);
        QTest::keyClicks(s.User(), "sa");
        QTest::keyClicks(s.Password(), "pw");

        s.OptNT()->click();
        QVERIFY(s.OptNT()->isChecked() && !s.OptSQL()->isChecked());
        QCOMPARE(s.User()->text() + s.Password()->text(), QString());
        QVERIFY(!s.User()->isEnabled() && !s.Password()->isEnabled());
        QCOMPARE(s.LoginNT()->text(), account);
        QVERIFY(s.Bold("lblLoginNT") && !s.Bold("lblUser") && !s.Bold("lblPasswd"));

        s.OptSQL()->click();
        QVERIFY(s.OptSQL()->isChecked() && !s.OptNT()->isChecked());
        QCOMPARE(s.LoginNT()->text(), QString());
        QVERIFY(s.User()->isEnabled() && s.Password()->isEnabled());
        QVERIFY(!s.Bold("lblLoginNT") && s.Bold("lblUser") && s.Bold("lblPasswd"));
    }

    void reopeningAfterWindowsLogin() {
        ConnectionValues values;
        {
            Showing s(values);
            QTest::keyClicks(s.Server(), "srv");
            QTest::keyClicks(s.Base(), "db");
            QTest::keyClicks(s.User(), "sa");
            QTest::keyClicks(s.Password(), "pw");
            s.OptNT()->click();
            s.Valider()->click();
            QVERIFY(!s.dialog.isVisible());
        }
        QCOMPARE(Fields(values), (QStringList{"srv", "db", "", "", AccountName(), "NT", "-"}));

        Showing s(values);
        QVERIFY(s.OptSQL()->isChecked() && !s.OptNT()->isChecked());
        QCOMPARE(s.Server()->currentText() + "|" + s.Base()->currentText(), "srv|db");
        QCOMPARE(s.User()->text() + s.Password()->text() + s.LoginNT()->text(), QString());
        QVERIFY(s.User()->isEnabled());
    }

    // Without the main window's step the values alone choose the option; only the SQL
    // option's handler runs at load, and it empties the account name.
    void optionsAtLoad_data() {
        QTest::addColumn<bool>("nt");
        QTest::addColumn<bool>("sql");
        QTest::addColumn<bool>("sqlSelected");
        QTest::newRow("neither") << false << false << false;
        QTest::newRow("NT only") << true << false << false;
        QTest::newRow("both: SQL set last wins") << true << true << true;
    }

    void optionsAtLoad() {
        QFETCH(bool, nt);
        QFETCH(bool, sql);
        QFETCH(bool, sqlSelected);
        ConnectionValues values;
        values.m_bConnexionNT = nt;
        values.m_bConnexionSQL = sql;
        Showing s(values, false);
        QCOMPARE(s.OptNT()->isChecked(), nt && !sqlSelected);
        QCOMPARE(s.OptSQL()->isChecked(), sqlSelected);
        QCOMPARE(s.LoginNT()->text(), sqlSelected ? QString() : AccountName());
    }

    void closingWithoutValiderKeepsValues_data() {
        QTest::addColumn<bool>("closeBox");
        QTest::newRow("Annuler") << false;
        QTest::newRow("close box") << true;
    }

    void closingWithoutValiderKeepsValues() {
        QFETCH(bool, closeBox);
        ConnectionValues values{"srv", "db", "sa", "pw", "someone", true, false};
        QStringList expected = Fields(values);
        expected[6] = "SQL";  // set by the caller before showing
        Showing s(values);
        QTest::keyClicks(s.Server(), "x");
        QTest::keyClicks(s.User(), "y");
        if (closeBox)
            s.dialog.close();
        else
            s.Annuler()->click();

        QVERIFY(!s.dialog.isVisible());
        QCOMPARE(Fields(values), expected);
    }

    void incompleteValiderThenAnnulerKeepsTheEntries() {
        ConnectionValues values{"old", "olddb", "sa", "pw", "", false, false};
        Showing s(values);
        s.Server()->clearEditText();
        s.Base()->clearEditText();
        QTest::keyClicks(s.Base(), "new db");
        s.Valider()->click();
        QCOMPARE(s.Messages(), QStringList{"Veuillez renseigner le nom du serveur"});
        s.Annuler()->click();

        QVERIFY(!s.dialog.isVisible());
        QCOMPARE(Fields(values), (QStringList{"", "new db", "sa", "pw", "", "-", "SQL"}));
    }

    void enterPressesValiderEscapeDoesNothing() {
        ConnectionValues values;
        Showing s(values);
        QTest::keyClicks(s.Server(), "srv");
        QTest::keyClick(s.Server(), Qt::Key_Escape);
        QVERIFY(s.dialog.isVisible());

        QTest::keyClick(s.Server(), Qt::Key_Return);
        QCOMPARE(s.Messages(), QStringList{"Veuillez renseigner le nom de la base"});
        QCOMPARE(s.Server()->count(), 8);  // the typed name is not added to the list

        QTest::keyClicks(s.Base(), "db");
        QTest::keyClicks(s.User(), "sa");
        QTest::keyClick(s.User(), Qt::Key_Return);
        QCOMPARE(s.box.shown.size(), 1);
        QVERIFY(!s.dialog.isVisible());
        QCOMPARE(Fields(values), (QStringList{"srv", "db", "sa", "", "", "-", "SQL"}));
    }
};

QTEST_MAIN(frmConnectionTest)
#include "frmConnectionTest.moc"
