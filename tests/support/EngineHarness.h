#pragma once

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "EngineFakes.h"
#include "QStringPrinter.h"
#include "SourceMode.h"
#include "TCVelmar.h"

// One engine run against fakes, with its scripts in a temporary folder.
class EngineTest : public testing::Test {
protected:
    FakeDatabase db;
    ScriptedMessageBox boxes;
    FixedClock clock;
    RecordingReceiver receiver;
    QTemporaryDir dir;

    void SetUp() override { g_sSourceMode.clear(); }

    // Writes `bytes` to `name` under the temporary folder; answers its path.
    QString Write(const QString& name, const QByteArray& bytes) const;
    QString Path(const QString& name) const { return dir.filePath(name); }
    QString LogPath() const { return Path(QStringLiteral("load.log")); }
    QString ReadLog() const;

    // An unattended run: log file, no window.
    LoadOutcome RunLogged(const QString& sPath, qint32 lError = 1);
    // A window run: no log file, `receiver` as the window.
    LoadOutcome RunWindowed(const QString& sPath, qint32 lError = 1);

    // The log's result lines, timestamps left out.
    QStringList ResultLines() const;
};
