#pragma once

#include <QMap>
#include <QStringList>
#include <functional>
#include <utility>

#include "Clock.h"
#include "IConnection.h"
#include "IMessageBox.h"
#include "IProgressReceiver.h"
#include "VelmarError.h"

// What a FakeConnection saw, kept by the test since the engine owns the connection.
struct FakeDatabase {
    bool refuseLogin = false;
    // A batch containing a key fails with the value as its description; the key "@@trancount"
    // makes the check after a script fail, the key "restore" putting back what "use" moved.
    QMap<QString, QString> failures;
    QStringList batches;
    bool transactionOpen = false;  // set by "begin tran", cleared by "commit"
    bool moved = false;            // set by "use", cleared by the check after the script
};

class FakeConnection final : public IConnection {
public:
    explicit FakeConnection(FakeDatabase& database) : m_db(database) {}
    bool OpenConnection(const QString&) override { return !m_db.refuseLogin; }
    QString OpenFailure() const override { return QStringLiteral("Login failed"); }
    void CloseConnection() override {}
    void ExecuteQuery(QStringView sSQL) override {
        m_db.batches << sSQL.toString();
        Fail(sSQL);
        if (sSQL.contains(u"begin tran", Qt::CaseInsensitive)) m_db.transactionOpen = true;
        if (sSQL.contains(u"commit", Qt::CaseInsensitive)) m_db.transactionOpen = false;
        if (sSQL.contains(u"use", Qt::CaseInsensitive)) m_db.moved = true;
    }
    ScriptEndState RestoreStartingState() override {
        Fail(u"@@trancount");
        ScriptEndState end{std::exchange(m_db.transactionOpen, false), std::nullopt};
        try {
            if (std::exchange(m_db.moved, false)) Fail(u"restore");
        } catch (const VelmarError& error) {
            end.restoreFailure = error.Description();
        }
        return end;
    }

private:
    void Fail(QStringView sSQL) const {
        for (auto it = m_db.failures.cbegin(); it != m_db.failures.cend(); ++it)
            if (sSQL.contains(it.key())) throw VelmarError(50000, it.value());
    }
    FakeDatabase& m_db;
};

// Records every box and answers through `answer` (OK by default).
class ScriptedMessageBox final : public IMessageBox {
public:
    struct Shown {
        QString text;
        qint32 style;
        QString title;
    };
    std::function<qint32(const Shown&)> answer = [](const Shown&) { return MsgBoxAnswer::Ok; };
    QList<Shown> shown;

    qint32 Show(const QString& text, qint32 style, const QString& title) override {
        shown.push_back({text, style, title});
        return answer(shown.back());
    }
};

// A fixed time of day, which does not pass.
class FixedClock final : public IClock {
public:
    QDateTime Now() const override { return QDateTime(QDate(2026, 3, 4), QTime(5, 6, 7)); }
    qint64 TickMs() const override { return 1000; }
};
