#pragma once

#include <QAbstractButton>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QTest>

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
    QLineEdit* field = Find<QLineEdit>(window, name);
    field->clear();
    QTest::keyClicks(field, text);
}

// Fills "Connexion SQL" and presses Valider.
inline void EnterLogin(QDialog& dialog, const QString& server, const QString& database,
                       const QString& user = {}, const QString& password = {},
                       bool windowsLogin = false) {
    Find<QComboBox>(dialog, "txtServeur")->setEditText(server);
    Find<QComboBox>(dialog, "txtBase")->setEditText(database);
    if (windowsLogin) {
        Click(dialog, "optLoginNT");
    } else {
        Type(dialog, "txtUser", user);
        Type(dialog, "txtPasswd", password);
    }
    Click(dialog, "cmdValider");
}

}  // namespace WindowDriver
