#include <QTest>

#include "QtMessageBox.h"

class QtMessageBoxTest : public QObject {
    Q_OBJECT

private slots:
    void stylesGiveTheirIconAndButtons_data() {
        QTest::addColumn<int>("style");
        QTest::addColumn<int>("icon");
        QTest::addColumn<int>("buttons");
        QTest::newRow("0 OK") << 0 << int(QMessageBox::NoIcon) << int(QMessageBox::Ok);
        QTest::newRow("17 critical OK Cancel")
            << 17 << int(QMessageBox::Critical) << int(QMessageBox::Ok | QMessageBox::Cancel);
        QTest::newRow("21 critical Retry Cancel")
            << 21 << int(QMessageBox::Critical) << int(QMessageBox::Retry | QMessageBox::Cancel);
        QTest::newRow("50 exclamation Abort Retry Ignore")
            << 50 << int(QMessageBox::Warning)
            << int(QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore);
        QTest::newRow("64 information OK")
            << 64 << int(QMessageBox::Information) << int(QMessageBox::Ok);
    }

    void stylesGiveTheirIconAndButtons() {
        QFETCH(int, style);
        QFETCH(int, icon);
        QFETCH(int, buttons);
        QMessageBox box;
        QtMessageBox::Configure(box, QStringLiteral("text"), style, QStringLiteral("title"));
        QCOMPARE(int(box.icon()), icon);
        QCOMPARE(int(box.standardButtons()), buttons);
        QCOMPARE(box.windowTitle(), QStringLiteral("title"));
        QCOMPARE(box.text(), QStringLiteral("text"));
    }

    void emptyTitleIsTheProgramName() {
        QMessageBox box;
        QtMessageBox::Configure(box, QStringLiteral("x"), 0, QString());
        QCOMPARE(box.windowTitle(), QStringLiteral("Velmar"));
    }

    void buttonsAnswerTheirCodes() {
        QCOMPARE(QtMessageBox::AnswerCode(QMessageBox::Ok), MsgBoxAnswer::Ok);
        QCOMPARE(QtMessageBox::AnswerCode(QMessageBox::Cancel), MsgBoxAnswer::Cancel);
        QCOMPARE(QtMessageBox::AnswerCode(QMessageBox::Abort), MsgBoxAnswer::Abort);
        QCOMPARE(QtMessageBox::AnswerCode(QMessageBox::Retry), MsgBoxAnswer::Retry);
        QCOMPARE(QtMessageBox::AnswerCode(QMessageBox::Ignore), MsgBoxAnswer::Ignore);
    }
};

QTEST_MAIN(QtMessageBoxTest)
#include "QtMessageBoxTest.moc"
