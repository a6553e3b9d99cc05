#pragma once

#include <QString>
#include <QStringList>

#include "FixedDialog.h"
#include "IMessageBox.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;

// The connection dialog's result values. They belong to the process, not to a showing:
// every showing starts from them and Valider writes them back.
struct ConnectionValues {
    QString m_sServer;  // every blank removed
    QString m_sDatabase;
    QString m_sUser;
    QString m_sPassword;
    QString m_sLoginNT;
    bool m_bConnexionNT = false;
    bool m_bConnexionSQL = false;
};

// "Connexion SQL": server, database and login entry with its checks. Each showing builds a
// new dialog on the same values; closing it destroys the window, never the values.
class frmConnection final : public FixedDialog {
public:
    frmConnection(ConnectionValues& values, IMessageBox& messageBox, QWidget* owner);

    static const QStringList kServers;
    static const QStringList kDatabases;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void Form_Load();
    void Form_Activate();
    void optLoginNT_Click();
    void optLoginSQL_Click();
    void cmdValider_Click();
    void cmdAnnuler_Click();

    void CenterOnScreen();
    void Require(const QString& message, QWidget* field);
    static QString GetLoginNT();

    ConnectionValues& m_values;
    IMessageBox& m_messageBox;

    QLabel* lblServeur;
    QComboBox* txtServeur;
    QLabel* lblBase;
    QComboBox* txtBase;
    QRadioButton* optLoginNT;
    QLabel* lblLoginNT;
    QLineEdit* txtLoginNT;
    QRadioButton* optLoginSQL;
    QLabel* lblUser;
    QLineEdit* txtUser;
    QLabel* lblPasswd;
    QLineEdit* txtPasswd;
};
