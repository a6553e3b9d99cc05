#pragma once

#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

// Drives a dialog the way an operator would, by the names of its controls.
namespace WindowDriver {

template <class Control>
Control* Find(const QWidget& window, const char* name) {
    auto* control = window.findChild<Control*>(QString::fromLatin1(name));
    if (!control) qFatal("no control %s in %s", name, qPrintable(window.objectName()));
    return control;
}

inline void Click(const QWidget& window, const char* name) {
    Find<QPushButton>(window, name)->click();
}

inline void Type(const QWidget& window, const char* name, const QString& text) {
    QLineEdit* field = Find<QLineEdit>(window, name);
    field->clear();
    QTest::keyClicks(field, text);
}

// Fills "Connexion SQL" with a SQL login and presses Valider.
inline void EnterSqlLogin(QDialog& dialog, const QString& server, const QString& database,
                          const QString& user, const QString& password) {
    Find<QComboBox>(dialog, "txtServeur")->setEditText(server);
    Find<QComboBox>(dialog, "txtBase")->setEditText(database);
    Type(dialog, "txtUser", user);
    Type(dialog, "txtPasswd", password);
    Click(dialog, "cmdValider");
}

}  // namespace WindowDriver
