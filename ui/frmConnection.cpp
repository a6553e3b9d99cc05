#include "frmConnection.h"

#include <pwd.h>
#include <unistd.h>

#include <QComboBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScreen>
#include <cerrno>
#include <vector>

#include "FormLayout.h"

const QStringList frmConnection::kServers = {
    QStringLiteral("localhost"), QStringLiteral("127.0.0.1"),    QStringLiteral("sqldev01"),
    QStringLiteral("sqltest01"), QStringLiteral("sqlrecette01"), QStringLiteral("sqlpreprod01"),
    QStringLiteral("sqlprod01"), QStringLiteral("sqlprod02")};

const QStringList frmConnection::kDatabases = {QStringLiteral("master"), QStringLiteral("Demo"),
                                               QStringLiteral("Sales"), QStringLiteral("Stock")};

namespace {

QLabel* RightLabel(QWidget* parent, const char* name, const QString& text, int left, int top,
                   int width, int height) {
    auto* label = Place(new QLabel(text, parent), name, left, top, width, height);
    label->setAlignment(Qt::AlignRight | Qt::AlignTop);
    return label;
}

QComboBox* EditableList(QWidget* parent, const char* name, int left, int top, int width,
                        int height) {
    auto* list = Place(new QComboBox(parent), name, left, top, width, height);
    list->setEditable(true);
    // A typed name is neither completed from the list nor added to it.
    list->setCompleter(nullptr);
    list->setInsertPolicy(QComboBox::NoInsert);
    list->setFont(Tahoma825());
    return list;
}

QLineEdit* TextField(QWidget* parent, const char* name, int left, int top, int width, int height) {
    return Place(new QLineEdit(parent), name, left, top, width, height);
}

// Qt will not clear the checked button of an exclusive group, but the values may ask for
// neither option.
void SetSelected(QRadioButton* option, bool selected) {
    if (!selected) option->setAutoExclusive(false);
    option->setChecked(selected);
    option->setAutoExclusive(true);
}

}  // namespace

frmConnection::frmConnection(ConnectionValues& values, IMessageBox& messageBox, QWidget* owner)
    : FixedDialog(owner, QStringLiteral("Connexion SQL"), 5895, 4860),
      m_values(values),
      m_messageBox(messageBox) {
    auto* frConnexion = Place(new QGroupBox(QStringLiteral(" Informations de connexion "), this),
                              "frConnexion", 120, 120, 5655, 3975);

    lblServeur =
        RightLabel(frConnexion, "lblServeur", QStringLiteral("Serveur :"), 360, 405, 855, 255);
    lblServeur->setFont(FormFont(QStringLiteral("Tahoma"), 8.25, true));
    txtServeur = EditableList(frConnexion, "txtServeur", 1320, 360, 4095, 315);

    lblBase = RightLabel(frConnexion, "lblBase", QStringLiteral("Base :"), 360, 885, 855, 255);
    lblBase->setFont(FormFont(QStringLiteral("MS Sans Serif"), 8.25, true));
    txtBase = EditableList(frConnexion, "txtBase", 1320, 840, 4095, 315);

    optLoginNT = Place(new QRadioButton(QStringLiteral("Connexion avec le login NT"), frConnexion),
                       "optLoginNT", 1080, 1560, 4395, 375);
    lblLoginNT =
        RightLabel(frConnexion, "lblLoginNT", QStringLiteral("Login NT"), 2280, 1965, 1455, 255);
    txtLoginNT = TextField(frConnexion, "txtLoginNT", 3840, 1920, 1575, 340);
    txtLoginNT->setEnabled(false);  // filled from the account, never typed

    optLoginSQL = Place(new QRadioButton(QStringLiteral("Connexion SQL"), frConnexion),
                        "optLoginSQL", 1080, 2400, 1455, 375);
    optLoginSQL->setChecked(true);
    lblUser =
        RightLabel(frConnexion, "lblUser", QStringLiteral("Utilisateur :"), 2040, 2925, 1695, 255);
    txtUser = TextField(frConnexion, "txtUser", 3840, 2880, 1575, 340);
    lblPasswd = RightLabel(frConnexion, "lblPasswd", QStringLiteral("Mot de Passe :"), 1680, 3405,
                           2055, 255);
    txtPasswd = TextField(frConnexion, "txtPasswd", 3840, 3360, 1575, 340);
    txtPasswd->setEchoMode(QLineEdit::Password);
    // Qt's own mask is a bullet; the field shows asterisks.
    txtPasswd->setStyleSheet(QStringLiteral("lineedit-password-character: 42;"));

    auto* cmdValider = Button(this, "cmdValider", QStringLiteral("Valider"), 2520, 4260, 1455, 495);
    cmdValider->setDefault(true);
    auto* cmdAnnuler = Button(this, "cmdAnnuler", QStringLiteral("Annuler"), 4320, 4260, 1455, 495);

    SetTabOrder({cmdValider, cmdAnnuler, txtUser, txtPasswd, txtLoginNT, optLoginNT, optLoginSQL,
                 txtServeur, txtBase});

    // clicked, not toggled: setting an option from the values must not run its handler.
    connect(optLoginNT, &QRadioButton::clicked, this, [this] { optLoginNT_Click(); });
    connect(optLoginSQL, &QRadioButton::clicked, this, [this] { optLoginSQL_Click(); });
    connect(cmdValider, &QPushButton::clicked, this, [this] { cmdValider_Click(); });
    connect(cmdAnnuler, &QPushButton::clicked, this, [this] { cmdAnnuler_Click(); });

    Form_Load();
}

void frmConnection::showEvent(QShowEvent* event) {
    FixedDialog::showEvent(event);
    Form_Activate();
}

void frmConnection::Form_Load() {
    setWindowFlag(Qt::WindowStaysOnTopHint);
    CenterOnScreen();

    SetBold(lblServeur, true);
    SetBold(lblBase, true);

    txtServeur->addItems(kServers);
    txtServeur->setCurrentIndex(-1);
    txtBase->addItems(kDatabases);
    txtBase->setCurrentIndex(-1);

    txtServeur->setEditText(m_values.m_sServer);
    txtBase->setEditText(m_values.m_sDatabase);
    txtUser->setText(m_values.m_sUser);
    txtPasswd->setText(m_values.m_sPassword);
    // Always the current account: m_sLoginNT is not restored.
    txtLoginNT->setText(GetLoginNT());

    // One group: when both are asked for, the SQL option set last wins.
    SetSelected(optLoginNT, m_values.m_bConnexionNT);
    SetSelected(optLoginSQL, m_values.m_bConnexionSQL);
    optLoginSQL_Click();
}

void frmConnection::Form_Activate() { txtServeur->setFocus(); }

void frmConnection::optLoginNT_Click() {
    if (!optLoginNT->isChecked()) return;
    txtUser->setEnabled(false);
    txtPasswd->setEnabled(false);
    SetBold(lblLoginNT, true);
    SetBold(lblUser, false);
    SetBold(lblPasswd, false);
    txtUser->clear();
    txtPasswd->clear();
    txtLoginNT->setText(GetLoginNT());
}

void frmConnection::optLoginSQL_Click() {
    if (!optLoginSQL->isChecked()) return;
    txtUser->setEnabled(true);
    txtPasswd->setEnabled(true);
    SetBold(lblLoginNT, false);
    SetBold(lblUser, true);
    SetBold(lblPasswd, true);
    txtLoginNT->clear();
}

void frmConnection::cmdValider_Click() {
    // The values take the entries even when they turn out incomplete.
    QString server = txtServeur->currentText();
    server.removeIf([](QChar c) { return c.isSpace(); });
    m_values.m_sServer = server;
    m_values.m_sDatabase = txtBase->currentText();
    m_values.m_sUser = txtUser->text();
    m_values.m_sPassword = txtPasswd->text();
    m_values.m_sLoginNT = txtLoginNT->text();
    m_values.m_bConnexionNT = optLoginNT->isChecked();
    m_values.m_bConnexionSQL = optLoginSQL->isChecked();

    // The check reads the fields as typed; the password may stay empty.
    const bool serverEmpty = txtServeur->currentText().isEmpty();
    const bool databaseEmpty = txtBase->currentText().isEmpty();
    if (!serverEmpty && !databaseEmpty &&
        (!txtUser->text().isEmpty() || !txtLoginNT->text().isEmpty())) {
        cmdAnnuler_Click();
        return;
    }

    if (serverEmpty)
        Require(QStringLiteral("Veuillez renseigner le nom du serveur"), txtServeur);
    else if (databaseEmpty)
        Require(QStringLiteral("Veuillez renseigner le nom de la base"), txtBase);
    else if (optLoginNT->isChecked() && txtLoginNT->text().isEmpty())
        Require(QStringLiteral("Veuillez renseigner le login NT"), txtLoginNT);
    else if (optLoginSQL->isChecked() && txtUser->text().isEmpty())
        Require(QStringLiteral("Veuillez renseigner l'utilisateur SQL"), txtUser);
}

void frmConnection::cmdAnnuler_Click() {
    // Ends the showing; the owner destroys the window, the values stay.
    reject();
}

void frmConnection::Require(const QString& message, QWidget* field) {
    m_messageBox.Show(message, MsgBoxStyle::OkOnly, QString());
    // A disabled field (the NT login) cannot take the focus; it then stays where it was.
    field->setFocus();
}

void frmConnection::CenterOnScreen() {
    QScreen* screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    move(screen->availableGeometry().center() - rect().center());
}

QString frmConnection::GetLoginNT() {
    const long suggested = sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(suggested > 0 ? size_t(suggested) : 1024);
    passwd entry{};
    passwd* found = nullptr;
    int error = 0;
    // Directory services can hold entries larger than the suggested size.
    for (;;) {
        error = getpwuid_r(geteuid(), &entry, buffer.data(), buffer.size(), &found);
        if (error != ERANGE || buffer.size() >= (1u << 20)) break;
        buffer.resize(buffer.size() * 2);
    }
    if (error != 0 || !found || !found->pw_name) return {};
    return QString::fromLocal8Bit(found->pw_name);
}
