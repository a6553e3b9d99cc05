#include <QTemporaryDir>
#include <QTest>

#include "EngineFakes.h"
#include "FileList.h"
#include "FolderList.h"
#include "SourceMode.h"
#include "WindowDriver.h"
#include "frmSelectRep.h"

using namespace WindowDriver;

class frmSelectRepTest : public QObject {
    Q_OBJECT

private slots:
    void listModeNeedsAListFile_data() {
        QTest::addColumn<bool>("picked");
        QTest::newRow("none picked") << false;
        QTest::newRow("one picked") << true;
    }

    void listModeNeedsAListFile() {
        QFETCH(bool, picked);
        QTemporaryDir tmp;
        QVERIFY(QFile(tmp.filePath("list.txt")).open(QIODevice::WriteOnly));
        g_sSourceMode = kListFileMode;
        ScriptedMessageBox box;
        frmSelectRep dialog(box, nullptr);
        dialog.show();
        Click(dialog, "WchkWithFiles");
        Find<FolderList>(dialog, "WdirSelectRepertoires")->setPath(tmp.path());
        Find<FileList>(dialog, "WfilSelectFichiers")->item(0)->setSelected(picked);
        Click(dialog, "cmdValider");
        QCOMPARE(dialog.isVisible(), !picked);
        QCOMPARE(QFileInfo(g_sSelectedPath).fileName(), picked ? "list.txt" : "");
    }
};

QTEST_MAIN(frmSelectRepTest)
#include "frmSelectRepTest.moc"
