#pragma once

#include <QAbstractButton>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>

// Drives a window the way an operator would, by the names of its controls.
namespace WindowDriver {

template <class Control = QWidget>
Control* Find(const QWidget& window, const char* name) {
    auto* control = window.findChild<Control*>(QString::fromLatin1(name));
    if (!control) qFatal("no control %s in %s", name, qPrintable(window.objectName()));
    return control;
}

inline void Click(const QWidget& window, const char* name) {
    Find<QAbstractButton>(window, name)->click();
}

inline void Type(const QWidget& window, const char* name, const QString& text) {
    Find<QLineEdit>(window, name)->setText(text);
}

// Fills "Connexion SQL" with the test server's SQL login and presses Valider.
inline void EnterLogin(const QDialog& dialog, const QString& server, const QString& database) {
    Find<QComboBox>(dialog, "txtServeur")->setEditText(server);
    Find<QComboBox>(dialog, "txtBase")->setEditText(database);
    Type(dialog, "txtUser", "sa");
    Type(dialog, "txtPasswd", "secret");
    Click(dialog, "cmdValider");
}

}  // namespace WindowDriver
