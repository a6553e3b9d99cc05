#include "JUnitReport.h"

#include <QFileInfo>
#include <QSaveFile>
#include <QXmlStreamWriter>

namespace {

const QString kNotPlayed =
    QStringLiteral("Non joué : le chargement s'est arrêté à la première erreur.");

// Server messages may hold anything; XML 1.0 has no way to write control characters other
// than tab and line ends, unpaired surrogates, U+FFFE or U+FFFF, and Qt's writer refuses them.
QString XmlText(const QString& text) {
    QString clean;
    clean.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            clean += c;
            clean += text[++i];
            continue;
        }
        const char16_t u = c.unicode();
        const bool allowed =
            u == u'\t' || u == u'\n' || u == u'\r' || (u >= 0x20 && !c.isSurrogate() && u < 0xFFFE);
        clean += allowed ? c : QChar(QChar::ReplacementCharacter);
    }
    return clean;
}

QString Seconds(qint64 milliseconds) { return QString::number(milliseconds / 1000.0, 'f', 3); }

class ReportWriter {
public:
    ReportWriter(QIODevice* device, const ReportRun& run) : m_xml(device), m_run(run) {
        m_xml.setAutoFormatting(true);
    }

    bool Write(const LoadOutcome& outcome) {
        const bool failed = outcome.failedStep != LoadOutcome::Step::None;
        const qsizetype tests = failed ? 1 : outcome.scripts.size() + outcome.unplayed.size();
        m_xml.writeStartDocument();
        m_xml.writeStartElement(QStringLiteral("testsuites"));
        m_xml.writeStartElement(QStringLiteral("testsuite"));
        Attribute(QStringLiteral("name"), m_run.source);
        Attribute(QStringLiteral("hostname"), m_run.server);
        Attribute(
            QStringLiteral("timestamp"),
            outcome.start.toOffsetFromUtc(outcome.start.offsetFromUtc()).toString(Qt::ISODate));
        Attribute(QStringLiteral("tests"), QString::number(tests));
        Attribute(QStringLiteral("failures"), QString::number(failed ? 0 : outcome.rejected));
        Attribute(QStringLiteral("skipped"), QString::number(failed ? 0 : outcome.unplayed.size()));
        Attribute(QStringLiteral("errors"), QString::number(failed ? 1 : 0));
        Attribute(QStringLiteral("time"), Seconds(outcome.elapsedMs));
        WriteProperties();
        if (failed) {
            Case(FailedStepName(outcome.failedStep), QString(), 0, QStringLiteral("error"),
                 outcome.failure);
        } else {
            for (const ScriptResult& script : outcome.scripts)
                Case(script.name, script.path, script.durationMs,
                     script.loaded ? QString() : QStringLiteral("failure"), script.description);
            for (const QString& path : outcome.unplayed)
                Case(QFileInfo(path).fileName(), path, 0, QStringLiteral("skipped"), kNotPlayed);
        }
        m_xml.writeEndDocument();
        return !m_xml.hasError();
    }

private:
    void Attribute(const QString& name, const QString& value) {
        m_xml.writeAttribute(name, XmlText(value));
    }

    void WriteProperties() {
        m_xml.writeStartElement(QStringLiteral("properties"));
        const QString properties[][2] = {
            {QStringLiteral("Serveur"), m_run.server},
            {QStringLiteral("Base"), m_run.database},
            {QStringLiteral("User"), m_run.user},
            {QStringLiteral("Mode d'erreur"), QString::number(m_run.errorMode)},
        };
        for (const auto& [name, value] : properties) {
            m_xml.writeEmptyElement(QStringLiteral("property"));
            Attribute(QStringLiteral("name"), name);
            Attribute(QStringLiteral("value"), value);
        }
        m_xml.writeEndElement();
    }

    QString FailedStepName(LoadOutcome::Step step) const {
        switch (step) {
            case LoadOutcome::Step::Connection:
                return QStringLiteral("Connexion à ") + m_run.server;
            case LoadOutcome::Step::Source:
                return m_run.source;
            default:
                return QStringLiteral("Chargement");
        }
    }

    // A test case holding, unless `outcome` is empty, one element of that name and message.
    void Case(const QString& name, const QString& path, qint64 milliseconds, const QString& outcome,
              const QString& message) {
        m_xml.writeStartElement(QStringLiteral("testcase"));
        Attribute(QStringLiteral("name"), name);
        Attribute(QStringLiteral("classname"), m_run.database);
        if (!path.isEmpty()) Attribute(QStringLiteral("file"), path);
        Attribute(QStringLiteral("time"), Seconds(milliseconds));
        if (!outcome.isEmpty()) {
            m_xml.writeEmptyElement(outcome);
            Attribute(QStringLiteral("message"), message);
        }
        m_xml.writeEndElement();
    }

    QXmlStreamWriter m_xml;
    const ReportRun& m_run;
};

}  // namespace

QString WriteJUnitReport(const QString& file, const ReportRun& run, const LoadOutcome& outcome) {
    QSaveFile report(file);
    if (report.open(QIODevice::WriteOnly) && ReportWriter(&report, run).Write(outcome) &&
        report.commit())
        return {};
    return QStringLiteral("le rapport '%1' n'a pas pu être écrit : %2")
        .arg(file, report.errorString());
}
