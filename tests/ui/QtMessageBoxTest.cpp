#include <QTest>

#include "QtMessageBox.h"

class QtMessageBoxTest : public QObject {
    Q_OBJECT

private slots:
    void styleGivesIconButtonsAndAnswers_data() {
        QTest::addColumn<int>("style");
        QTest::addColumn<int>("icon");
        QTest::addColumn<int>("buttons");
        QTest::addColumn<int>("pressed");
        QTest::addColumn<int>("answer");
        using B = QMessageBox;
        const auto row = [](int style, int icon, int buttons, int pressed, int answer) {
            QTest::addRow("%d %d", style, pressed) << style << icon << buttons << pressed << answer;
        };
        row(0, B::NoIcon, B::Ok, B::Ok, 1);
        row(17, B::Critical, B::Ok | B::Cancel, B::Cancel, 2);
        row(21, B::Critical, B::Retry | B::Cancel, B::Retry, 4);
        row(50, B::Warning, B::Abort | B::Retry | B::Ignore, B::Abort, 3);
        row(50, B::Warning, B::Abort | B::Retry | B::Ignore, B::Ignore, 5);
        row(64, B::Information, B::Ok, B::Ok, 1);
    }

    void styleGivesIconButtonsAndAnswers() {
        QFETCH(int, style);
        QFETCH(int, icon);
        QFETCH(int, buttons);
        QFETCH(int, pressed);
        QFETCH(int, answer);
        QMessageBox box;
        QtMessageBox::Configure(box, "text", style, style ? "title" : "");
        QCOMPARE(int(box.icon()), icon);
        QCOMPARE(int(box.standardButtons()), buttons);
        QCOMPARE(box.windowTitle(), QString(style ? "title" : "Velmar"));  // no title: the name
        QCOMPARE(QtMessageBox::AnswerCode(pressed), answer);
    }
};

QTEST_MAIN(QtMessageBoxTest)
#include "QtMessageBoxTest.moc"
