#pragma once

#include <QString>
#include <QtGlobal>
#include <exception>
#include <string>

// A numbered error with its description, the form every failure of the system takes.
// Inside engine/ and db/ a failure is raised as a VelmarError; only IConnection's
// OpenConnection answers false instead, as its contract says, with OpenFailure telling why.
// app/ and ui/ catch at their edge and carry plain values on (LoadOutcome's failure text, an
// exit status, a message box). Every error number lives here; every text a load shows the
// operator lives in engine/LoadTexts.
class VelmarError : public std::exception {
public:
    // The system's own numbers; the server's and the driver's are passed on as they come.
    static constexpr qint32 InvalidArgument = 5;
    static constexpr qint32 FileNotFound = 53;
    static constexpr qint32 PermissionDenied = 70;
    static constexpr qint32 PathFileAccess = 75;
    static constexpr qint32 PathNotFound = 76;
    static constexpr qint32 DuplicateKey = 457;
    static constexpr qint32 NoCurrentRow = 3021;
    static constexpr qint32 ConnectionNotOpen = 3704;

    VelmarError(qint32 number, QString description)
        : m_lNumber(number),
          m_sDescription(std::move(description)),
          m_what(m_sDescription.toStdString()) {}

    qint32 Number() const noexcept { return m_lNumber; }
    const QString& Description() const noexcept { return m_sDescription; }
    const char* what() const noexcept override { return m_what.c_str(); }

private:
    qint32 m_lNumber;
    QString m_sDescription;
    std::string m_what;
};
