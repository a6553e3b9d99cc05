#include "LoadTexts.h"

#include "LoadLog.h"

namespace LoadTexts {
namespace {

// The password never reaches the log in clear.
const QString kMaskedPassword = QStringLiteral("********");

QString ConnectionBlock(const QString& opening, const QDateTime& time, const QString& sServer,
                        const QString& sDatabase, const QString& sUser, const QString& sPassword) {
    QString text = opening + LoadLog::Timestamp(time) + QStringLiteral(") : ") + LoadLog::CrLf +
                   QStringLiteral("    Serveur : ") + sServer + LoadLog::CrLf +
                   QStringLiteral("    Base : ") + sDatabase + LoadLog::CrLf;
    if (!sUser.isEmpty())
        text += QStringLiteral("    User : ") + sUser + LoadLog::CrLf +
                QStringLiteral("    Password : ") +
                (sPassword.isEmpty() ? QString() : kMaskedPassword);
    return text;
}

}  // namespace

QString ConnectionFailure(const QDateTime& time, const QString& sServer, const QString& sDatabase,
                          const QString& sUser, const QString& sPassword) {
    return ConnectionBlock(QStringLiteral("La connection suivante a échouée ("), time, sServer,
                           sDatabase, sUser, sPassword);
}

QString Header(const QDateTime& time, const QString& sServer, const QString& sDatabase,
               const QString& sUser, const QString& sPassword) {
    return ConnectionBlock(QStringLiteral("Déploiement ("), time, sServer, sDatabase, sUser,
                           sPassword);
}

QString Summary(qint32 procs, qint32 loaded, qint32 rejected, std::optional<qint32> remaining,
                qint64 elapsedSeconds) {
    QString text = QStringLiteral("Nbr de procédures : %1").arg(procs) + LoadLog::CrLf +
                   QStringLiteral("Nbr de procédures chargées : %1").arg(loaded) + LoadLog::CrLf +
                   QStringLiteral("Nbr de procédures rejettées : %1").arg(rejected) + LoadLog::CrLf;
    if (remaining)
        text += QStringLiteral("Nbr de procédures restantes à charger : %1").arg(*remaining) +
                LoadLog::CrLf;
    return text + QStringLiteral("Temps de chargement : ") + Duration(elapsedSeconds);
}

QString Duration(qint64 seconds) {
    return QStringLiteral("%1h%2m%3s")
        .arg(seconds / 3600)
        .arg(seconds % 3600 / 60)
        .arg(seconds % 60);
}

QString NotFound(const QString& path) {
    return QStringLiteral("Le fichier ou répertoire '") + path + QStringLiteral("' n'existe pas.");
}

QString NotAccessible(const QString& path) {
    return QStringLiteral("Le fichier ou répertoire '") + path +
           QStringLiteral("' n'est pas accessible.");
}

QString ConnectionFailed(const QString& sServer, const QString& sDatabase, const QString& reason) {
    return QStringLiteral("La connexion à %1 (base %2) a échoué : %3")
        .arg(sServer, sDatabase, reason);
}

QString LogNotWritten(const QString& sLogFile) {
    return QStringLiteral("Le fichier de log '%1' ne peut pas être écrit").arg(sLogFile);
}

QString LogFolderNotCreated(const QString& folder) {
    return QStringLiteral("Le répertoire du fichier de log '%1' ne peut pas être créé").arg(folder);
}

qint64 ElapsedSeconds(qint64 milliseconds) {
    const qint64 whole = milliseconds / 1000;
    const qint64 rest = milliseconds % 1000;
    return rest > 500 || (rest == 500 && whole % 2 == 1) ? whole + 1 : whole;
}

}  // namespace LoadTexts
