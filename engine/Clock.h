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
    // To the second, as the log shows it. The local time is worked out once a second: that
    // reads the time zone file, for each script of a run.
    QDateTime Now() const override {
        const qint64 second = QDateTime::currentSecsSinceEpoch();
        if (second != m_second) {
            m_second = second;
            m_now = QDateTime::fromSecsSinceEpoch(second);
        }
        return m_now;
    }
    qint64 TickMs() const override { return m_timer.elapsed(); }

private:
    QElapsedTimer m_timer;
    mutable qint64 m_second = -1;
    mutable QDateTime m_now;
};
