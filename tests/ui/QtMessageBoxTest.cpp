#include <QTest>

#include "QtMessageBox.h"

class QtMessageBoxTest : public QObject {
    Q_OBJECT

private slots:
    void styleOffersButtonsWithTheirAnswers_data() {
        QTest::addColumn<int>("style");
        QTest::addColumn<QMessageBox::StandardButton>("pressed");
        QTest::addColumn<int>("answer");
        QTest::newRow("21 Retry") << 21 << QMessageBox::Retry << 4;
        QTest::newRow("21 Cancel") << 21 << QMessageBox::Cancel << 2;
        QTest::newRow("50 Ignore") << 50 << QMessageBox::Ignore << 5;
    }

    void styleOffersButtonsWithTheirAnswers() {
        QFETCH(int, style);
        QFETCH(QMessageBox::StandardButton, pressed);
        QFETCH(int, answer);
        QMessageBox box;
        QtMessageBox::Configure(box, "text", style, "");
        QVERIFY(box.button(pressed));
        QCOMPARE(QtMessageBox::AnswerCode(pressed), answer);
    }
};

QTEST_MAIN(QtMessageBoxTest)
#include "QtMessageBoxTest.moc"
