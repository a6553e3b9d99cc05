#include "frmMain.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QEventLoop>
#include <QGroupBox>
#include <QHeaderView>
#include <QProgressBar>
#include <QRadioButton>
#include <QTableWidget>
#include <QThread>

#include "BusyCursor.h"
#include "CsvExport.h"
#include "DropLineEdit.h"
#include "FormLayout.h"
#include "QueuedReceiver.h"
#include "SourceMode.h"
#include "TCVelmar.h"
#include "VelmarIcon.h"
#include "frmSelectRep.h"

frmMain::frmMain(MainWindowServices services)
    : FixedDialog(nullptr, QStringLiteral("Velmar - Chargement en base de fichiers SQL"), 9285,
                  6870),
      m_services(std::move(services)) {
    setWindowIcon(VelmarIcon());

    fraSource =
        Place(new QGroupBox(QStringLiteral(" Source "), this), "fraSource", 60, 60, 9135, 1635);
    optRepertoire = Place(new QRadioButton(QStringLiteral("Répertoire de .sql"), fraSource),
                          "optRepertoire", 180, 300, 2055, 255);
    optRepertoire->setChecked(true);
    txtPath = Place(new DropLineEdit(fraSource), "txtPath", 2160, 240, 6495, 340);
    cmdRep = Button(fraSource, "cmdRep", QStringLiteral("..."), 8640, 240, 350, 340);
    optFichier = Place(new QRadioButton(QStringLiteral("Fichier liste .txt"), fraSource),
                       "optFichier", 180, 660, 1815, 315);
    txtFichier = Place(new DropLineEdit(fraSource), "txtFichier", 2160, 660, 6495, 340);
    cmdfichier = Button(fraSource, "cmdfichier", QStringLiteral("..."), 8640, 660, 350, 340);
    cmdConnexion =
        Button(fraSource, "cmdConnexion", QStringLiteral("Connexion..."), 180, 1140, 1335, 340);
    chkErrorStop =
        Place(new QCheckBox(QStringLiteral("La moindre erreur stoppe le traitement"), fraSource),
              "chkErrorStop", 2160, 1200, 3255, 255);

    auto* fraErrProcs = Place(new QGroupBox(QStringLiteral(" Procédures jouées "), this),
                              "fraErrProcs", 60, 1800, 9135, 4095);
    lstErrProcs = Place(new QTableWidget(0, 2, fraErrProcs), "lstErrProcs", 120, 240, 8895, 3735);
    lstErrProcs->setFont(Tahoma825());
    lstErrProcs->verticalHeader()->hide();
    // One line of text per row, as a grid of results reads best.
    lstErrProcs->verticalHeader()->setDefaultSectionSize(lstErrProcs->fontMetrics().height() + 6);
    lstErrProcs->setEditTriggers(QAbstractItemView::NoEditTriggers);
    pbProg = Place(new QProgressBar(this), "pbProg", 60, 6000, 9135, 255);
    pbProg->setRange(0, 100);
    pbProg->setTextVisible(false);
    cmdExport = Button(this, "cmdExport", QStringLiteral("Export"), 5760, 6360, 1455, 435);
    cmdLoad = Button(this, "cmdLoad", QStringLiteral("Charger"), 7740, 6360, 1455, 435);

    SetTabOrder({optRepertoire, optFichier, txtPath, cmdRep, txtFichier, cmdfichier, cmdConnexion,
                 chkErrorStop, cmdLoad, cmdExport, lstErrProcs});

    connect(optRepertoire, &QRadioButton::toggled, this, [this] { optRepertoire_Click(); });
    connect(optFichier, &QRadioButton::toggled, this, [this] { optFichier_Click(); });
    connect(txtPath, &QLineEdit::textChanged, this, [this] { txtPath_Change(); });
    connect(txtFichier, &QLineEdit::textChanged, this, [this] { txtFichier_Change(); });
    connect(cmdRep, &QPushButton::clicked, this, [this] { cmdRep_Click(); });
    connect(cmdfichier, &QPushButton::clicked, this, [this] { cmdfichier_Click(); });
    connect(cmdConnexion, &QPushButton::clicked, this, [this] { cmdConnexion_Click(); });
    connect(cmdLoad, &QPushButton::clicked, this, [this] { cmdLoad_Click(); });
    connect(cmdExport, &QPushButton::clicked, this, [this] { cmdExport_Click(); });

    Form_Load();
}

void frmMain::Form_Load() {
    cmdLoad->setEnabled(false);
    m_bConnexionOK = false;
    cmdExport->hide();
    SetGridTitles();
    lstErrProcs->setColumnWidth(0, Twips(2500));
    lstErrProcs->setColumnWidth(1, Twips(6000));
    pbProg->setValue(0);
    optRepertoire_Click();
}

void frmMain::showEvent(QShowEvent* event) {
    FixedDialog::showEvent(event);
    // To the top of the other windows, without staying there.
    raise();
    activateWindow();
}

void frmMain::closeEvent(QCloseEvent* event) {
    // A load runs inside this window's handler; it must finish before the window goes.
    if (m_bLoading) {
        event->ignore();
        return;
    }
    FixedDialog::closeEvent(event);
}

void frmMain::optRepertoire_Click() {
    if (!optRepertoire->isChecked()) return;
    cmdfichier->setEnabled(false);
    cmdRep->setEnabled(true);
    txtFichier->setEnabled(false);
    txtPath->setEnabled(true);
    SetBold(optRepertoire, true);
    SetBold(optFichier, false);
    txtFichier->clear();
}

void frmMain::optFichier_Click() {
    if (!optFichier->isChecked()) return;
    cmdfichier->setEnabled(true);
    cmdRep->setEnabled(false);
    txtFichier->setEnabled(true);
    txtPath->setEnabled(false);
    SetBold(optFichier, true);
    SetBold(optRepertoire, false);
    txtPath->clear();
}

void frmMain::txtPath_Change() { FieldChange(txtPath); }

void frmMain::txtFichier_Change() { FieldChange(txtFichier); }

void frmMain::FieldChange(const QLineEdit* field) {
    if (!m_bConnexionOK) return;
    cmdLoad->setEnabled(!field->text().isEmpty());
}

void frmMain::cmdRep_Click() { Browse(kFolderMode, txtPath); }

void frmMain::cmdfichier_Click() { Browse(kListFileMode, txtFichier); }

void frmMain::Browse(const QString& sourceMode, QLineEdit* field) {
    g_sSourceMode = sourceMode;
    frmSelectRep chooser(m_services.messageBox, this);
    m_services.showModal(chooser);
    field->setText(g_sSelectedPath);
}

void frmMain::cmdConnexion_Click() {
    m_oConnexionValues.m_bConnexionSQL = true;
    {
        frmConnection dialog(m_oConnexionValues, m_services.messageBox, this);
        m_services.showModal(dialog);
    }
    m_sServer = m_oConnexionValues.m_sServer;
    m_sDatabase = m_oConnexionValues.m_sDatabase;
    m_sUser = m_oConnexionValues.m_sUser;
    m_sPassword = m_oConnexionValues.m_sPassword;
    m_sLoginNT = m_oConnexionValues.m_sLoginNT;

    m_bConnexionOK = !m_sServer.isEmpty() && !m_sDatabase.isEmpty() &&
                     (!m_sUser.isEmpty() || !m_sLoginNT.isEmpty());
    if (!m_bConnexionOK) return;
    if (optFichier->isChecked()) txtFichier_Change();
    if (optRepertoire->isChecked()) txtPath_Change();
}

void frmMain::cmdLoad_Click() {
    const BusyCursor busy;
    cmdLoad->setEnabled(false);
    cmdExport->hide();
    m_bLoading = true;
    fraSource->setEnabled(false);
    pbProg->setValue(0);
    lstErrProcs->clearContents();
    lstErrProcs->setRowCount(0);
    SetGridTitles();
    const QString sPath = optRepertoire->isChecked() ? txtPath->text() : txtFichier->text();
    // The option chosen says what the path is, however the field was filled.
    g_sSourceMode = optFichier->isChecked() ? kListFileMode : kFolderMode;
    RunEngine(sPath, chkErrorStop->isChecked() ? 0 : 1);
    fraSource->setEnabled(true);
    m_bLoading = false;
    cmdExport->show();
    cmdLoad->setEnabled(true);
}

// The engine, its connection and its log live on a worker so that this window keeps painting
// while the server works; the handler waits in a local event loop.
void frmMain::RunEngine(const QString& sPath, qint32 lError) {
    QueuedReceiver receiver(*this, *this, m_services.messageBox);
    const auto load = [&receiver, &services = m_services, sPath, lError, sServer = m_sServer,
                       sDatabase = m_sDatabase, sUser = m_sUser, sPassword = m_sPassword,
                       sLoginNT = m_sLoginNT] {
        TCVelmar engine(services.newConnection(), receiver, services.clock);
        engine.m_oCurForm = &receiver;
        engine.m_lError = lError;
        engine.LoadStoredProcs(sPath, sServer, sDatabase, sUser, sPassword, sLoginNT);
    };
    const std::unique_ptr<QThread> worker(QThread::create(load));
    QEventLoop loop;
    connect(worker.get(), &QThread::finished, &loop, &QEventLoop::quit);
    worker->start();
    loop.exec();
    worker->wait();
}

void frmMain::cmdExport_Click() {
    QList<QStringList> rows;
    for (int row = 0; row < lstErrProcs->rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < lstErrProcs->columnCount(); ++column) {
            const QTableWidgetItem* item = lstErrProcs->item(row, column);
            cells << (item ? item->text() : QString());
        }
        rows << cells;
    }
    const QString path = QDir::home().filePath(QStringLiteral("export.csv"));
    const QString failure = WriteCsvFile(path, rows);
    if (!failure.isEmpty()) {
        m_services.messageBox.Show(
            QStringLiteral("L'export vers %1 a échoué : %2").arg(path, failure),
            MsgBoxStyle::CriticalOk, QString());
        return;
    }
    cmdExport->hide();
}

void frmMain::SetGridTitles() {
    lstErrProcs->setHorizontalHeaderLabels({QStringLiteral("Fichier"), QStringLiteral("Message")});
}

void frmMain::ProgressBar_SetMaxStep(qint32 lMax) {
    pbProg->setValue(0);
    // No range: an empty bar rather than Qt's busy indicator.
    if (lMax <= 0)
        pbProg->setRange(0, 1);
    else
        pbProg->setMaximum(lMax);
}

void frmMain::ProgressBar_AddStep() { pbProg->setValue(pbProg->value() + 1); }

void frmMain::AddItem(const QString& text) {
    // The last column takes the rest of the line, so a message holding a TAB stays whole.
    const qsizetype tab = text.indexOf(u'\t');
    const int row = lstErrProcs->rowCount();
    lstErrProcs->insertRow(row);
    lstErrProcs->setItem(row, 0, new QTableWidgetItem(tab < 0 ? text : text.left(tab)));
    if (tab >= 0) lstErrProcs->setItem(row, 1, new QTableWidgetItem(text.mid(tab + 1)));
}

void frmMain::Refresh() { repaint(); }
