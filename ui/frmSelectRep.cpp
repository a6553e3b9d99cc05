#include "frmSelectRep.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QSignalBlocker>
#include <QStorageInfo>
#include <algorithm>
#include <optional>

#include "BusyCursor.h"
#include "FileList.h"
#include "FolderList.h"
#include "FormLayout.h"
#include "SourceMode.h"

QString g_sSelectedPath;

namespace {

const QString kOneFileOnly = QStringLiteral("Vous ne pouvez sélectionner qu'un seul fichier");
const QString kChooseListFile = QStringLiteral(
    "Vous devez sélectionner un fichier .txt qui contient la liste des fichiers SQL à charger "
    "en base");

// Wait pointer and Valider off while the lists refresh, so validation cannot start midway.
// Nested use leaves Valider on at the inner end already, as the outer end would.
class BusyState {
public:
    explicit BusyState(QPushButton* valider) : m_valider(valider) { m_valider->setEnabled(false); }
    ~BusyState() { m_valider->setEnabled(true); }
    BusyState(const BusyState&) = delete;
    BusyState& operator=(const BusyState&) = delete;

private:
    BusyCursor m_cursor;  // set first, restored last
    QPushButton* m_valider;
};

struct Volume {
    QString root;
    QString label;
};

// The mounted volumes that can be browsed: "/" first, then the others by root path.
QList<Volume> BrowsableVolumes() {
    QList<Volume> volumes{{QStringLiteral("/"), QStringLiteral("/")}};
    for (const QStorageInfo& storage : QStorageInfo::mountedVolumes()) {
        if (!storage.isValid() || !storage.isReady()) continue;
        const QString root = storage.rootPath();
        if (!QFileInfo(root).isDir()) continue;
        if (std::any_of(volumes.cbegin(), volumes.cend(),
                        [&](const Volume& known) { return known.root == root; }))
            continue;
        const QString name = storage.name();
        volumes.push_back(
            {root, name.isEmpty() ? root : QStringLiteral("%1 [%2]").arg(root, name)});
    }
    std::sort(volumes.begin() + 1, volumes.end(),
              [](const Volume& a, const Volume& b) { return a.root < b.root; });
    return volumes;
}

bool Holds(const QString& root, const QString& path) {
    return root == QLatin1String("/") || path == root || path.startsWith(root + u'/');
}

}  // namespace

frmSelectRep::frmSelectRep(IMessageBox& messageBox, QWidget* owner)
    : FixedDialog(owner, QStringLiteral("Sélection de fichiers"), 8085, 6030),
      m_messageBox(messageBox) {
    setFont(Tahoma825());

    auto* WfraSelectionnables = Place(new QGroupBox(QStringLiteral(" Sélection "), this),
                                      "WfraSelectionnables", 60, 60, 7935, 5295);
    WdrvSelectDrive =
        Place(new QComboBox(WfraSelectionnables), "WdrvSelectDrive", 180, 300, 4215, 315);
    WdirSelectRepertoires =
        Place(new FolderList(WfraSelectionnables), "WdirSelectRepertoires", 180, 720, 4215, 4365);
    WfilSelectFichiers =
        Place(new FileList(WfraSelectionnables), "WfilSelectFichiers", 4500, 720, 3255, 4185);
    WchkWithFiles =
        Place(new QCheckBox(QStringLiteral("Afficher les fichiers contenus"), WfraSelectionnables),
              "WchkWithFiles", 5280, 360, 2415, 255);
    cmdValider = Button(this, "cmdValider", QStringLiteral("Valider"), 4620, 5460, 1575, 495);
    QPushButton* cmdAnnuler =
        Button(this, "cmdAnnuler", QStringLiteral("Annuler"), 6420, 5460, 1575, 495);
    SetTabOrder({WfilSelectFichiers, WdirSelectRepertoires, WdrvSelectDrive, cmdValider, cmdAnnuler,
                 WchkWithFiles});

    // Starting state, before any handler is connected.
    const QString current = QDir::currentPath();
    int longestRoot = -1;
    for (const Volume& volume : BrowsableVolumes()) {
        WdrvSelectDrive->addItem(volume.label, volume.root);
        if (Holds(volume.root, current) && volume.root.size() > longestRoot) {
            longestRoot = static_cast<int>(volume.root.size());
            m_lPreviousDrive = WdrvSelectDrive->count() - 1;
        }
    }
    WdrvSelectDrive->setCurrentIndex(m_lPreviousDrive);
    if (!WdirSelectRepertoires->setPath(current)) WdirSelectRepertoires->setPath(QDir::rootPath());
    WfilSelectFichiers->setSuffix(QStringLiteral(".sql"));
    WfilSelectFichiers->setFolder(WdirSelectRepertoires->path());
    WfilSelectFichiers->hide();

    connect(WdrvSelectDrive, &QComboBox::currentIndexChanged, this,
            [this] { WdrvSelectDrive_Change(); });
    // Direct, so that setting the path runs the handler before the setting returns.
    connect(
        WdirSelectRepertoires, &FolderList::pathChanged, this,
        [this] { WdirSelectRepertoires_Change(); }, Qt::DirectConnection);
    connect(WchkWithFiles, &QCheckBox::toggled, this, [this] { WchkWithFiles_Click(); });
    connect(WfilSelectFichiers, &QListWidget::itemSelectionChanged, this,
            [this] { WfilSelectFichiers_Click(); });
    connect(WfilSelectFichiers, &QListWidget::itemDoubleClicked, this,
            [this] { WfilSelectFichiers_DblClick(); });
    connect(cmdValider, &QPushButton::clicked, this, [this] { cmdValider_Click(); });
    connect(cmdAnnuler, &QPushButton::clicked, this, [this] { cmdAnnuler_Click(); });

    Form_Load();
}

bool frmSelectRep::ListFileMode() const { return g_sSourceMode == kListFileMode; }

void frmSelectRep::Form_Load() {
    if (ListFileMode()) {
        WfilSelectFichiers->setSuffix(QStringLiteral(".txt"));
        WfilSelectFichiers->setEnabled(true);
    } else {
        WfilSelectFichiers->setSuffix(QStringLiteral(".sql"));
        // A first use, or a list file left by the other mode, stays on the current folder.
        WdirSelectRepertoires->setPath(g_sSelectedPath);
        WfilSelectFichiers->setEnabled(false);
    }
}

void frmSelectRep::WdrvSelectDrive_Change() {
    const BusyState busy(cmdValider);
    if (WdirSelectRepertoires->setPath(WdrvSelectDrive->currentData().toString())) {
        m_lPreviousDrive = WdrvSelectDrive->currentIndex();
        return;
    }
    // A drive without a medium, say: keep the folder list and show its drive again.
    const QSignalBlocker quiet(WdrvSelectDrive);
    WdrvSelectDrive->setCurrentIndex(m_lPreviousDrive);
    QApplication::beep();
}

void frmSelectRep::WdirSelectRepertoires_Change() {
    const BusyState busy(cmdValider);
    ShowFilesOfOpenFolder();
}

void frmSelectRep::WchkWithFiles_Click() { ShowFilesOfOpenFolder(); }

// Hiding leaves the file list's folder and selection alone: validation still reads them.
void frmSelectRep::ShowFilesOfOpenFolder() {
    if (WchkWithFiles->isChecked()) {
        WfilSelectFichiers->setFolder(WdirSelectRepertoires->path());
        WfilSelectFichiers->show();
    } else {
        WfilSelectFichiers->hide();
    }
}

void frmSelectRep::WfilSelectFichiers_Click() {
    if (!ListFileMode()) return;
    const BusyState busy(cmdValider);
    g_sSelectedPath.clear();
    for (int i = 0; i < WfilSelectFichiers->count(); ++i) {
        if (!WfilSelectFichiers->item(i)->isSelected()) continue;
        if (g_sSelectedPath.isEmpty()) {
            g_sSelectedPath = WfilSelectFichiers->filePath(i);
            continue;
        }
        // Shown while still busy: Valider stays off until the operator closes the box.
        m_messageBox.Show(kOneFileOnly, MsgBoxStyle::OkOnly, QString());
        g_sSelectedPath.clear();
        return;
    }
}

void frmSelectRep::WfilSelectFichiers_DblClick() { RefreshSelection(); }

// The first selected file, without the one-file rule.
void frmSelectRep::RefreshSelection() {
    const BusyState busy(cmdValider);
    g_sSelectedPath.clear();
    if (!ListFileMode()) return;
    for (int i = 0; i < WfilSelectFichiers->count(); ++i) {
        if (WfilSelectFichiers->item(i)->isSelected()) {
            g_sSelectedPath = WfilSelectFichiers->filePath(i);
            return;
        }
    }
}

void frmSelectRep::cmdValider_Click() {
    std::optional<BusyCursor> wait(std::in_place);
    RefreshSelection();
    if (!ListFileMode()) {
        g_sSelectedPath = WdirSelectRepertoires->path();
    } else if (g_sSelectedPath.isEmpty()) {
        wait.reset();
        m_messageBox.Show(kChooseListFile, MsgBoxStyle::OkOnly, QString());
        return;
    }
    accept();
}

void frmSelectRep::cmdAnnuler_Click() {
    g_sSelectedPath.clear();
    reject();
}
