#pragma once

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "EngineFakes.h"
#include "QStringPrinter.h"
#include "SourceMode.h"
#include "TCVelmar.h"

// Records the progress calls in order: "max N", "step", "item <row>", "refresh".
class RecordingReceiver final : public IProgressReceiver {
public:
    QStringList calls;
    void ProgressBar_SetMaxStep(qint32 lMax) override {
        calls << QStringLiteral("max %1").arg(lMax);
    }
    void ProgressBar_AddStep() override { calls << QStringLiteral("step"); }
    void AddItem(const QString& text) override { calls << QStringLiteral("item ") + text; }
    void Refresh() override { calls << QStringLiteral("refresh"); }
};

// One engine run against fakes, with its scripts in a temporary folder that is the current one
// (list entries are relative to it).
class EngineTest : public testing::Test {
protected:
    FakeDatabase db;
    ScriptedMessageBox boxes;
    FixedClock clock;
    RecordingReceiver receiver;
    QTemporaryDir dir;

    void SetUp() override {
        g_sSourceMode.clear();
        QDir::setCurrent(dir.path());
    }

    // Writes `bytes` to `name`, creating its folder; answers its path.
    QString Write(const QString& name, const QByteArray& bytes) const {
        QDir().mkpath(QFileInfo(Path(name)).absolutePath());
        QFile file(Path(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size())
            << name.toStdString();
        return Path(name);
    }
    QString Path(const QString& name) const { return dir.filePath(name); }
    QString ReadLog() const {
        QFile file(Path(QStringLiteral("load.log")));
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }

    // An unattended run (log file, no window), or a window run (no log, `receiver` as window).
    LoadOutcome Run(const QString& path, qint32 error, bool windowed) {
        TCVelmar engine(std::make_unique<FakeConnection>(db), boxes, clock);
        engine.m_lError = error;
        if (windowed)
            engine.m_oCurForm = &receiver;
        else
            engine.m_sLogFile = Path(QStringLiteral("load.log"));
        return engine.LoadStoredProcs(path, "srv", "Sales", "sa", "secret", QString());
    }
    LoadOutcome RunLogged(const QString& path, qint32 error = 1) { return Run(path, error, false); }
    LoadOutcome RunWindowed(const QString& path, qint32 error = 1) {
        return Run(path, error, true);
    }

    // The log's result lines, timestamps left out.
    QStringList ResultLines() const {
        static const QString stamp = QStringLiteral("04/03/2026 05:06:07 - ");
        QStringList lines = ReadLog().split(QStringLiteral("\r\n")).filter(stamp);
        return lines.replaceInStrings(stamp, QString());
    }
};
