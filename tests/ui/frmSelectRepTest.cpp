#include <QDir>
#include <QFile>
#include <QTemporaryDir>

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
    void validation_data() {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QStringList>("selected");  // list files, as the operator picks them
        QTest::addColumn<bool>("annuler");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("result");  // g_sSelectedPath, under the test folder
        const auto row = [](const char* name, const QString& mode, QStringList selected,
                            bool annuler, const char* message, const char* result) {
            QTest::newRow(name) << mode << selected << annuler << QString(message)
                                << QString(result);
        };
        const QString list = kListFileMode;
        row("list file missing", list, {}, false,
            "Vous devez sélectionner un fichier .txt qui contient la liste des fichiers SQL à "
            "charger en base",
            "");
        row("one list file", list, {"LIST.TXT"}, false, "", "LIST.TXT");
        row("two list files: the first in list order", list, {"LIST.TXT", "c.txt"}, false,
            "Vous ne pouvez sélectionner qu'un seul fichier", "c.txt");
        row("Annuler", list, {"c.txt"}, true, "", "");
        row("the open folder", kFolderMode, {}, false, "", "alpha");
    }

    void validation() {
        QFETCH(QString, mode);
        QFETCH(QStringList, selected);
        QFETCH(bool, annuler);
        QFETCH(QString, message);
        QFETCH(QString, result);
        QTemporaryDir tmp;
        const QDir root(QFileInfo(tmp.path()).canonicalFilePath());
        for (const char* folder : {"alpha", "sub"}) QVERIFY(root.mkdir(folder));
        for (const char* file : {"a.sql", "c.txt", "LIST.TXT", ".hidden.txt", "sub/x.txt"})
            QVERIFY(QFile(root.filePath(file)).open(QIODevice::WriteOnly));
        const QString startFolder = QDir::currentPath();
        QDir::setCurrent(root.path());
        g_sSourceMode = mode;
        g_sSelectedPath = root.filePath("sub");  // where a folder choice opens again

        ScriptedMessageBox box;
        frmSelectRep dialog(box, nullptr);
        dialog.show();
        QDir::setCurrent(startFolder);
        auto* folders = Find<FolderList>(dialog, "WdirSelectRepertoires");
        QCOMPARE(folders->path(), mode == kFolderMode ? root.filePath("sub") : root.path());
        Find<QAbstractButton>(dialog, "WchkWithFiles")->click();
        auto* files = Find<FileList>(dialog, "WfilSelectFichiers");
        if (mode == kListFileMode) QCOMPARE(files->count(), 2);  // .txt of any case, not hidden
        for (const QString& name : selected)
            files->findItems(name, Qt::MatchExactly).constFirst()->setSelected(true);
        if (mode == kFolderMode) folders->setPath(root.filePath("alpha"));
        Click(dialog, annuler ? "cmdAnnuler" : "cmdValider");

        QCOMPARE(box.shown.isEmpty() ? QString() : box.shown.constFirst().text, message);
        QCOMPARE(g_sSelectedPath, result.isEmpty() ? result : root.filePath(result));
        QCOMPARE(dialog.isVisible(), !annuler && result.isEmpty());
    }
};

QTEST_MAIN(frmSelectRepTest)
#include "frmSelectRepTest.moc"
