#include "ConsoleProgress.h"

#include "LoadTexts.h"

namespace {

constexpr qint32 kBarWidth = 30;

}  // namespace

ConsoleProgress::ConsoleProgress(std::FILE* terminal, const IClock& clock)
    : m_terminal(terminal), m_clock(clock), m_startTick(clock.TickMs()) {}

void ConsoleProgress::ProgressBar_SetMaxStep(qint32 lMax) {
    m_lMax = lMax;
    m_lDone = 0;
    Draw();
}

void ConsoleProgress::ProgressBar_AddStep() {
    ++m_lDone;
    Draw();
}

void ConsoleProgress::Finish(const LoadOutcome& outcome) {
    if (m_bDrawn) std::fputc('\n', m_terminal);
    if (outcome.failure.isEmpty()) {
        const QString summary =
            LoadTexts::Summary(outcome.procs, outcome.loaded, outcome.rejected, outcome.remaining,
                               LoadTexts::ElapsedSeconds(outcome.elapsedMs));
        std::fprintf(m_terminal, "%s\n",
                     QString(summary)
                         .replace(QStringLiteral("\r\n"), QStringLiteral("\n"))
                         .toLocal8Bit()
                         .constData());
    }
    std::fflush(m_terminal);
}

void ConsoleProgress::Draw() {
    const qint64 filled = m_lMax > 0 ? qint64(m_lDone) * kBarWidth / m_lMax : 0;
    const QString line = QStringLiteral("%1/%2 [%3%4] %5")
                             .arg(m_lDone)
                             .arg(m_lMax)
                             .arg(QString(filled, u'#'), QString(kBarWidth - filled, u'.'),
                                  LoadTexts::Duration(ElapsedSeconds()));
    // Never shorter than the line it replaces: the count and the time only grow.
    std::fprintf(m_terminal, "\r%s", line.toLocal8Bit().constData());
    std::fflush(m_terminal);
    m_bDrawn = true;
}

qint64 ConsoleProgress::ElapsedSeconds() const {
    return LoadTexts::ElapsedSeconds(m_clock.TickMs() - m_startTick);
}
