#pragma once

#include <QDateTime>
#include <QElapsedTimer>

// The time of day for the log and a monotonic millisecond tick for the elapsed time.
class IClock {
public:
    virtual ~IClock() = default;
    virtual QDateTime Now() const = 0;
    virtual qint64 TickMs() const = 0;
};

class SystemClock final : public IClock {
public:
    SystemClock() { m_timer.start(); }
    QDateTime Now() const override { return QDateTime::currentDateTime(); }
    qint64 TickMs() const override { return m_timer.elapsed(); }

private:
    QElapsedTimer m_timer;
};
