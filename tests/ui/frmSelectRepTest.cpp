#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QStorageInfo>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "EngineFakes.h"
#include "FileList.h"
#include "FolderList.h"
#include "FormLayout.h"
#include "SourceMode.h"
#include "frmSelectRep.h"

namespace {

const QString kOneFileOnly = QStringLiteral("Vous ne pouvez sélectionner qu'un seul fichier");
const QString kChooseListFile = QStringLiteral(
    "Vous devez sélectionner un fichier .txt qui contient la liste des fichiers SQL à charger "
    "en base");

void Touch(const QString& path) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
}

QStringList Texts(const QListWidget* list) {
    QStringList texts;
    for (int i = 0; i < list->count(); ++i) texts << list->item(i)->text().trimmed();
    return texts;
}

QListWidgetItem* Entry(QListWidget* list, const QString& text) {
    for (int i = 0; i < list->count(); ++i)
        if (list->item(i)->text().trimmed() == text) return list->item(i);
    return nullptr;
}

QPoint Centre(QListWidget* list, const QString& text) {
    QListWidgetItem* item = Entry(list, text);
    if (!item) return {};
    list->scrollToItem(item);
    return list->visualItemRect(item).center();
}

void Click(QListWidget* list, const QString& text, Qt::KeyboardModifiers keys = {}) {
    QVERIFY2(Entry(list, text), qPrintable(text));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, keys, Centre(list, text));
}

// As the window system delivers it: a click, then the second press as a double-click.
void DoubleClick(QListWidget* list, const QString& text) {
    QVERIFY2(Entry(list, text), qPrintable(text));
    const QPoint at = Centre(list, text);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, at);
}

}  // namespace

class frmSelectRepTest : public QObject {
    Q_OBJECT

    QString m_startFolder;
    std::unique_ptr<QTemporaryDir> m_tmp;
    QString m_root;  // the program's current folder during a test
    ScriptedMessageBox m_box;
    std::unique_ptr<frmSelectRep> m_dialog;

    void Open(const QString& mode) {
        g_sSourceMode = mode;
        m_dialog = std::make_unique<frmSelectRep>(m_box, nullptr);
        m_dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_dialog.get()));
    }

    template <class T>
    T* Find(const char* name) const {
        T* widget = m_dialog->findChild<T*>(QString::fromLatin1(name));
        if (!widget) qFatal("no %s", name);
        return widget;
    }
    QComboBox* Drives() const { return Find<QComboBox>("WdrvSelectDrive"); }
    FolderList* Folders() const { return Find<FolderList>("WdirSelectRepertoires"); }
    FileList* Files() const { return Find<FileList>("WfilSelectFichiers"); }
    QCheckBox* WithFiles() const { return Find<QCheckBox>("WchkWithFiles"); }
    QPushButton* Valider() const { return Find<QPushButton>("cmdValider"); }
    QPushButton* Annuler() const { return Find<QPushButton>("cmdAnnuler"); }
    QString At(const QString& relative) const { return m_root + u'/' + relative; }

    // Both busy-state effects are off again.
    void VerifyIdle() const {
        QVERIFY(Valider()->isEnabled());
        QVERIFY(!QApplication::overrideCursor());
    }

private slots:
    void initTestCase() { m_startFolder = QDir::currentPath(); }

    void init() {
        g_sSelectedPath.clear();
        g_sSourceMode.clear();
        m_box.shown.clear();
        m_box.answer = [](const ScriptedMessageBox::Shown&) { return MsgBoxAnswer::Ok; };

        m_tmp = std::make_unique<QTemporaryDir>();
        QVERIFY(m_tmp->isValid());
        m_root = QFileInfo(m_tmp->path()).canonicalFilePath();
        QDir root(m_root);
        for (const char* folder : {"sub", "alpha", "Beta", ".hiddendir", "folder.txt"})
            QVERIFY(root.mkdir(QString::fromLatin1(folder)));
        for (const char* file : {"a.sql", "b.SQL", "c.txt", "LIST.TXT", "list2.txt", ".hidden.txt",
                                 "notes.md", "sub/x.txt", "sub/y.sql"})
            Touch(At(QString::fromLatin1(file)));
        QVERIFY(QFile::link(At("c.txt"), At("link.txt")));
        QVERIFY(QFile::link(At("gone"), At("broken.txt")));
        QVERIFY(QDir::setCurrent(m_root));
    }

    void cleanup() {
        m_dialog.reset();
        while (QApplication::overrideCursor()) QApplication::restoreOverrideCursor();
        QDir::setCurrent(m_startFolder);
        m_tmp.reset();
    }

    void layoutCaptionsAndTabOrder() {
        Open(kListFileMode);
        QCOMPARE(m_dialog->windowTitle(), QStringLiteral("Sélection de fichiers"));
        QCOMPARE(m_dialog->size(), QSize(Twips(8085), Twips(6030)));

        auto* frame = Find<QGroupBox>("WfraSelectionnables");
        QCOMPARE(frame->title(), QStringLiteral(" Sélection "));
        QCOMPARE(WithFiles()->text(), QStringLiteral("Afficher les fichiers contenus"));
        QCOMPARE(Valider()->text(), QStringLiteral("Valider"));
        QCOMPARE(Annuler()->text(), QStringLiteral("Annuler"));

        QVERIFY(!Valider()->autoDefault() && !Valider()->isDefault());
        QVERIFY(!Annuler()->autoDefault() && !Annuler()->isDefault());

        // Tab indexes 1 to 6.
        const QList<QWidget*> order{Files(),   Folders(), Drives(),
                                    Valider(), Annuler(), WithFiles()};
        for (qsizetype i = 0; i + 1 < order.size(); ++i) {
            QWidget* next = order[i]->nextInFocusChain();
            while (next->focusPolicy() == Qt::NoFocus || next->focusProxy())
                next = next->nextInFocusChain();
            QCOMPARE(next, order[i + 1]);
        }
    }

    void everyOpeningStartsUntickedWithTheFileListHidden() {
        Open(kListFileMode);
        WithFiles()->setChecked(true);
        QVERIFY(Files()->isVisible());
        Open(kListFileMode);
        QVERIFY(!WithFiles()->isChecked());
        QVERIFY(Files()->isHidden());
    }

    void driveListHasRootFirstAndStartsOnTheCurrentFolder() {
        Open(kFolderMode);
        QComboBox* drives = Drives();
        QVERIFY(drives->count() >= 1);
        QCOMPARE(drives->itemData(0).toString(), QStringLiteral("/"));
        QStringList rest;
        for (int i = 1; i < drives->count(); ++i) rest << drives->itemData(i).toString();
        QStringList sorted = rest;
        sorted.sort();
        QCOMPARE(rest, sorted);
        QCOMPARE(drives->currentData().toString(), QStorageInfo(m_root).rootPath());
    }

    void folderListShowsAncestorsThenVisibleSubfolders() {
        Open(kListFileMode);
        QCOMPARE(Folders()->path(), m_root);
        QStringList expected{QStringLiteral("/")};
        expected << m_root.split(u'/', Qt::SkipEmptyParts);
        expected << QStringLiteral("alpha") << QStringLiteral("Beta")
                 << QStringLiteral("folder.txt") << QStringLiteral("sub");
        QCOMPARE(Texts(Folders()), expected);
        // Ancestors sit above and outdented from their children.
        const QString open = m_root.section(u'/', -1);
        QVERIFY(Entry(Folders(), open)->text().indexOf(open) <
                Entry(Folders(), QStringLiteral("sub"))->text().indexOf(QStringLiteral("sub")));
    }

    void folderListOpensOnDoubleClickOnly() {
        Open(kListFileMode);
        FolderList* folders = Folders();
        QSignalSpy changes(folders, &FolderList::pathChanged);

        Click(folders, QStringLiteral("sub"));
        QCOMPARE(folders->path(), m_root);
        QCOMPARE(changes.count(), 0);

        DoubleClick(folders, QStringLiteral("sub"));
        QCOMPARE(folders->path(), At("sub"));
        QCOMPARE(changes.count(), 1);
        QCOMPARE(changes.at(0).at(0).toString(), At("sub"));
        QVERIFY(!Entry(folders, QStringLiteral("alpha")));

        // Back up through an ancestor.
        DoubleClick(folders, m_root.section(u'/', -1));
        QCOMPARE(folders->path(), m_root);
        QCOMPARE(changes.count(), 2);

        // From the keyboard: arrows highlight, Enter opens.
        folders->setFocus();
        folders->setCurrentItem(Entry(folders, QStringLiteral("alpha")));
        QTest::keyClick(folders, Qt::Key_Down);
        QCOMPARE(folders->path(), m_root);
        QTest::keyClick(folders, Qt::Key_Return);
        QCOMPARE(folders->path(), At("Beta"));
        VerifyIdle();
    }

    void folderListProgramChangesNotifyAtOnce() {
        Open(kListFileMode);
        FolderList* folders = Folders();
        QSignalSpy changes(folders, &FolderList::pathChanged);
        QVERIFY(folders->setPath(At("alpha/../sub/")));
        QCOMPARE(changes.count(), 1);
        QCOMPARE(folders->path(), At("sub"));

        QVERIFY(!folders->setPath(At("missing")));
        QVERIFY(!folders->setPath(At("c.txt")));
        QCOMPARE(folders->path(), At("sub"));
        QCOMPARE(changes.count(), 1);

        QVERIFY(folders->setPath(QStringLiteral("/")));
        QCOMPARE(folders->path(), QStringLiteral("/"));
        QCOMPARE(Texts(folders).first(), QStringLiteral("/"));
    }

    void folderModeOpensOnThePreviousFolder_data() {
        QTest::addColumn<QString>("previous");
        QTest::addColumn<QString>("opened");
        QTest::newRow("previous folder") << QStringLiteral("sub") << QStringLiteral("sub");
        QTest::newRow("first use") << QString() << QString();
        QTest::newRow("a list file") << QStringLiteral("c.txt") << QString();
        QTest::newRow("gone") << QStringLiteral("missing") << QString();
    }

    void folderModeOpensOnThePreviousFolder() {
        QFETCH(QString, previous);
        QFETCH(QString, opened);
        g_sSelectedPath = previous.isEmpty() ? QString() : At(previous);
        Open(kFolderMode);
        QCOMPARE(Folders()->path(), opened.isEmpty() ? m_root : At(opened));
        QVERIFY(Files()->isHidden());
        VerifyIdle();
    }

    void listModeAlwaysStartsOnTheCurrentFolder() {
        g_sSelectedPath = At("sub/x.txt");
        Open(kListFileMode);
        QCOMPARE(Folders()->path(), m_root);
        QCOMPARE(Files()->folder(), m_root);
    }

    void listModeShowsTextFilesOnceTicked() {
        Open(kListFileMode);
        QVERIFY(Files()->isHidden());
        WithFiles()->setChecked(true);
        QVERIFY(Files()->isVisible());
        QVERIFY(Files()->isEnabled());
        // Any letter case, links to files, no hidden file, no folder, no broken link.
        QCOMPARE(Texts(Files()), (QStringList{"c.txt", "link.txt", "LIST.TXT", "list2.txt"}));

        WithFiles()->setChecked(false);
        QVERIFY(Files()->isHidden());
        VerifyIdle();
    }

    void folderModeListsScriptsGreyedOut() {
        Open(kFolderMode);
        WithFiles()->setChecked(true);
        QCOMPARE(Texts(Files()), (QStringList{"a.sql", "b.SQL"}));
        QVERIFY(!Files()->isEnabled());

        DoubleClick(Folders(), QStringLiteral("sub"));
        QCOMPARE(Files()->folder(), At("sub"));
        QCOMPARE(Texts(Files()), QStringList{"y.sql"});
        VerifyIdle();
    }

    void folderModeValidationReturnsTheOpenFolder_data() {
        QTest::addColumn<bool>("ticked");
        QTest::newRow("file list hidden") << false;
        QTest::newRow("file list shown") << true;
    }

    void folderModeValidationReturnsTheOpenFolder() {
        QFETCH(bool, ticked);
        g_sSelectedPath = At("sub");
        Open(kFolderMode);
        WithFiles()->setChecked(ticked);
        DoubleClick(Folders(), m_root.section(u'/', -1));
        DoubleClick(Folders(), QStringLiteral("alpha"));  // holds no script
        Click(Folders(), m_root.section(u'/', -1));       // only highlighted
        QTest::mouseClick(Valider(), Qt::LeftButton);
        QCOMPARE(g_sSelectedPath, At("alpha"));
        QVERIFY(m_box.shown.isEmpty());
        QVERIFY(m_dialog->isHidden());
        QCOMPARE(m_dialog->result(), int(QDialog::Accepted));
        VerifyIdle();
    }

    void listModeValidationNeedsAFile() {
        Open(kListFileMode);
        WithFiles()->setChecked(true);
        bool normalPointer = false;
        m_box.answer = [&](const ScriptedMessageBox::Shown&) {
            normalPointer = !QApplication::overrideCursor();
            return MsgBoxAnswer::Ok;
        };
        QTest::mouseClick(Valider(), Qt::LeftButton);
        QCOMPARE(m_box.shown.size(), 1);
        QCOMPARE(m_box.shown[0].text, kChooseListFile);
        QCOMPARE(m_box.shown[0].style, MsgBoxStyle::OkOnly);
        QVERIFY(m_box.shown[0].title.isEmpty());
        QVERIFY(normalPointer);
        QVERIFY(m_dialog->isVisible());
        QVERIFY(g_sSelectedPath.isEmpty());
        VerifyIdle();
    }

    void listModeValidationReturnsTheSelectedFile() {
        Open(kListFileMode);
        WithFiles()->setChecked(true);
        Click(Files(), QStringLiteral("LIST.TXT"));
        QCOMPARE(g_sSelectedPath, At("LIST.TXT"));
        QTest::mouseClick(Valider(), Qt::LeftButton);
        QCOMPARE(g_sSelectedPath, At("LIST.TXT"));
        QVERIFY(m_box.shown.isEmpty());
        QVERIFY(m_dialog->isHidden());
        QCOMPARE(m_dialog->result(), int(QDialog::Accepted));
    }

    void oneFileRule() {
        Open(kListFileMode);
        WithFiles()->setChecked(true);
        bool busyWhileShown = false;
        m_box.answer = [&](const ScriptedMessageBox::Shown&) {
            const QCursor* cursor = QApplication::overrideCursor();
            busyWhileShown = cursor && cursor->shape() == Qt::WaitCursor && !Valider()->isEnabled();
            return MsgBoxAnswer::Ok;
        };

        Click(Files(), QStringLiteral("list2.txt"));
        QCOMPARE(g_sSelectedPath, At("list2.txt"));
        QVERIFY(m_box.shown.isEmpty());

        Click(Files(), QStringLiteral("c.txt"), Qt::ControlModifier);
        QCOMPARE(m_box.shown.size(), 1);
        QCOMPARE(m_box.shown[0].text, kOneFileOnly);
        QCOMPARE(m_box.shown[0].style, MsgBoxStyle::OkOnly);
        QVERIFY(m_box.shown[0].title.isEmpty());
        QVERIFY(busyWhileShown);
        VerifyIdle();
        QVERIFY(g_sSelectedPath.isEmpty());
        QCOMPARE(Files()->selectedItems().size(), 2);

        // Every further change while several stay selected says it again.
        Click(Files(), QStringLiteral("LIST.TXT"), Qt::ControlModifier);
        QCOMPARE(m_box.shown.size(), 2);

        // Hiding and showing the list again refills it; that is no operator's change.
        WithFiles()->setChecked(false);
        WithFiles()->setChecked(true);
        QCOMPARE(Files()->selectedItems().size(), 3);
        QCOMPARE(m_box.shown.size(), 2);

        // Validation takes the first selected in list order, not the first clicked.
        QTest::mouseClick(Valider(), Qt::LeftButton);
        QCOMPARE(g_sSelectedPath, At("c.txt"));
        QCOMPARE(m_box.shown.size(), 2);
        QVERIFY(m_dialog->isHidden());
    }

    void annulerEmptiesTheSelection_data() {
        QTest::addColumn<QString>("mode");
        QTest::newRow("folder mode") << kFolderMode;
        QTest::newRow("list-file mode") << kListFileMode;
    }

    void annulerEmptiesTheSelection() {
        QFETCH(QString, mode);
        g_sSelectedPath = At("sub");
        Open(mode);
        WithFiles()->setChecked(true);
        if (mode == kListFileMode) Click(Files(), QStringLiteral("c.txt"));
        QTest::mouseClick(Annuler(), Qt::LeftButton);
        QVERIFY(g_sSelectedPath.isEmpty());
        QVERIFY(m_dialog->isHidden());
        QCOMPARE(m_dialog->result(), int(QDialog::Rejected));
    }

    void closeBoxInFolderModeKeepsThePreviousFolder() {
        g_sSelectedPath = At("sub");
        Open(kFolderMode);
        DoubleClick(Folders(), m_root.section(u'/', -1));
        DoubleClick(Folders(), QStringLiteral("alpha"));
        QVERIFY(m_dialog->close());
        QCOMPARE(g_sSelectedPath, At("sub"));
        QCOMPARE(m_dialog->result(), int(QDialog::Rejected));
    }

    void closeBoxInListModeKeepsWhatTheLastClickLeft() {
        g_sSelectedPath = At("sub/x.txt");
        Open(kListFileMode);
        QVERIFY(m_dialog->close());
        QCOMPARE(g_sSelectedPath, At("sub/x.txt"));

        Open(kListFileMode);
        WithFiles()->setChecked(true);
        Click(Files(), QStringLiteral("list2.txt"));
        QVERIFY(m_dialog->close());
        QCOMPARE(g_sSelectedPath, At("list2.txt"));

        Open(kListFileMode);
        WithFiles()->setChecked(true);
        Click(Files(), QStringLiteral("c.txt"));
        Click(Files(), QStringLiteral("list2.txt"), Qt::ShiftModifier);
        QCOMPARE(m_box.shown.size(), 1);
        QVERIFY(m_dialog->close());
        QVERIFY(g_sSelectedPath.isEmpty());
    }

    void untickingKeepsTheSelection() {
        Open(kListFileMode);
        WithFiles()->setChecked(true);
        Click(Files(), QStringLiteral("LIST.TXT"));
        WithFiles()->setChecked(false);
        WithFiles()->setChecked(true);
        QCOMPARE(Files()->selectedItems().size(), 1);
        QCOMPARE(Files()->selectedItems().first()->text(), QStringLiteral("LIST.TXT"));

        // Moving with the list hidden leaves it on its folder and its selection.
        WithFiles()->setChecked(false);
        DoubleClick(Folders(), QStringLiteral("sub"));
        QCOMPARE(Folders()->path(), At("sub"));
        QCOMPARE(Files()->folder(), m_root);
        QTest::mouseClick(Valider(), Qt::LeftButton);
        QVERIFY(m_box.shown.isEmpty());
        QCOMPARE(g_sSelectedPath, At("LIST.TXT"));
    }

    void doubleClickRecordsButLeavesTheDialogOpen() {
        Open(kListFileMode);
        WithFiles()->setChecked(true);
        DoubleClick(Files(), QStringLiteral("list2.txt"));
        QCOMPARE(g_sSelectedPath, At("list2.txt"));
        QVERIFY(m_dialog->isVisible());
        QVERIFY(m_box.shown.isEmpty());
        VerifyIdle();
    }

    void fileListClicksDoNothingInFolderMode() {
        g_sSelectedPath = m_root;
        Open(kFolderMode);
        WithFiles()->setChecked(true);
        // The operator cannot select in the disabled list; the program can.
        Files()->item(0)->setSelected(true);
        Files()->item(1)->setSelected(true);
        QVERIFY(m_box.shown.isEmpty());
        QCOMPARE(g_sSelectedPath, m_root);
    }

    void drivePickOpensItsRoot() {
        Open(kListFileMode);
        WithFiles()->setChecked(true);
        QComboBox* drives = Drives();
        // A volume mounted on the test tree; the drive list's item data is the volume root.
        drives->addItem(QStringLiteral("test volume"), At("sub"));
        drives->setCurrentIndex(drives->count() - 1);
        QCOMPARE(Folders()->path(), At("sub"));
        QCOMPARE(Files()->folder(), At("sub"));
        VerifyIdle();

        drives->setCurrentIndex(0);
        QCOMPARE(Folders()->path(), QStringLiteral("/"));
        QCOMPARE(Files()->folder(), QStringLiteral("/"));
        VerifyIdle();
    }

    void driveThatCannotBeOpenedReverts() {
        Open(kListFileMode);
        QComboBox* drives = Drives();
        drives->addItem(QStringLiteral("test volume"), At("sub"));
        drives->addItem(QStringLiteral("no medium"), At("missing"));
        drives->setCurrentIndex(drives->count() - 2);
        QCOMPARE(Folders()->path(), At("sub"));

        QSignalSpy picks(drives, &QComboBox::currentIndexChanged);
        drives->setCurrentIndex(drives->count() - 1);
        QCOMPARE(drives->currentIndex(), drives->count() - 2);
        QCOMPARE(picks.count(), 1);  // the return was not taken for a pick
        QCOMPARE(Folders()->path(), At("sub"));
        QVERIFY(m_dialog->isVisible());
        VerifyIdle();
    }
};

QTEST_MAIN(frmSelectRepTest)
#include "frmSelectRepTest.moc"
