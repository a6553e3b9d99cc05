#pragma once

#include <QDateTime>
#include <QString>
#include <optional>

// The messages of a load run, as they reach the log or a message box.
namespace LoadTexts {

inline const QString ErrorTitle = QStringLiteral("Velmar - Erreur");

// Script outcomes other than the server's own messages.
inline const QString Loaded = QStringLiteral("Réussi");
inline const QString TransactionLeftOpen =
    QStringLiteral("Transaction laissée ouverte par le script : annulée.");

QString ConnectionFailure(const QDateTime& time, const QString& sServer, const QString& sDatabase,
                          const QString& sUser, const QString& sPassword);

QString Header(const QDateTime& time, const QString& sServer, const QString& sDatabase,
               const QString& sUser, const QString& sPassword);

// `remaining` is given only when the run was stopped.
QString Summary(qint32 procs, qint32 loaded, qint32 rejected, std::optional<qint32> remaining,
                qint64 elapsedSeconds);

QString NotFound(const QString& path);
QString NotAccessible(const QString& path);

// Why a load could not be carried out, for the caller.
QString ConnectionFailed(const QString& sServer, const QString& sDatabase, const QString& reason);
inline const QString BraceInLogin = QStringLiteral(
    "le pilote ODBC ne sait pas recevoir un compte ou un mot de passe contenant '}'.");
QString LogNotWritten(const QString& sLogFile);
QString LogFolderNotCreated(const QString& folder);
inline const QString AccessDenied = QStringLiteral("accès refusé");
inline const QString ParentMissing = QStringLiteral("son parent n'existe pas");

// Whole seconds as the summary writes them, 0h2m5s.
QString Duration(qint64 seconds);

// Milliseconds to whole seconds, halves going to the even neighbour.
qint64 ElapsedSeconds(qint64 milliseconds);

}  // namespace LoadTexts
