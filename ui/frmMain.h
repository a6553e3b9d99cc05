#pragma once

#include <QString>
#include <functional>
#include <memory>

#include "Clock.h"
#include "FixedDialog.h"
#include "IConnection.h"
#include "IMessageBox.h"
#include "IProgressReceiver.h"
#include "frmConnection.h"

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QProgressBar;
class QRadioButton;
class QTableWidget;

// What the main window takes from outside its widgets, so that tests can stand in for it.
struct MainWindowServices {
    IMessageBox& messageBox;
    const IClock& clock;
    // A fresh connection for each load.
    std::function<std::unique_ptr<IConnection>()> newConnection;
    // Shows a dialog modally and returns when it has closed.
    std::function<void(QDialog&)> showModal = [](QDialog& dialog) { dialog.exec(); };
};

// The window of window mode: source, connection, error mode, load, progress, results and
// export. It is the engine's progress receiver during a load.
class frmMain : public FixedDialog, public IProgressReceiver {
public:
    explicit frmMain(MainWindowServices services);

    void ProgressBar_SetMaxStep(qint32 lMax) override;
    void ProgressBar_AddStep() override;
    void AddItem(const QString& text) override;
    void Refresh() override;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void Form_Load();
    void optRepertoire_Click();
    void optFichier_Click();
    void txtPath_Change();
    void txtFichier_Change();
    void FieldChange(const QLineEdit* field);
    void cmdRep_Click();
    void cmdfichier_Click();
    void Browse(const QString& sourceMode, QLineEdit* field);
    void cmdConnexion_Click();
    void cmdLoad_Click();
    void RunEngine(const QString& sPath, qint32 lError);
    void cmdExport_Click();
    void SetGridTitles();

    MainWindowServices m_services;
    // The connection dialog's values live as long as this window, which is the process.
    ConnectionValues m_oConnexionValues;

    bool m_bConnexionOK = false;
    bool m_bLoading = false;
    QString m_sServer;
    QString m_sDatabase;
    QString m_sUser;
    QString m_sPassword;
    QString m_sLoginNT;

    QGroupBox* fraSource;
    QRadioButton* optRepertoire;
    QLineEdit* txtPath;
    QPushButton* cmdRep;
    QRadioButton* optFichier;
    QLineEdit* txtFichier;
    QPushButton* cmdfichier;
    QPushButton* cmdConnexion;
    QCheckBox* chkErrorStop;
    QTableWidget* lstErrProcs;
    QProgressBar* pbProg;
    QPushButton* cmdExport;
    QPushButton* cmdLoad;
};
