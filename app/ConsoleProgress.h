#pragma once

#include <cstdio>

#include "Clock.h"
#include "IProgressReceiver.h"
#include "TCVelmar.h"

// The progress of an unattended load for a person watching a terminal: one line rewritten
// in place (scripts done out of the total, a bar, the elapsed time), then the summary.
class ConsoleProgress final : public IProgressReceiver {
public:
    ConsoleProgress(std::FILE* terminal, const IClock& clock);

    void ProgressBar_SetMaxStep(qint32 lMax) override;
    void ProgressBar_AddStep() override;
    // Result lines go to the load log in unattended mode: the engine never sends them here.
    void AddItem(const QString& /*text*/) override {}
    void Refresh() override {}

    // Ends the progress line; the log's summary follows when the load was carried out.
    void Finish(const LoadOutcome& outcome);

private:
    void Draw();
    // The time shown while the load runs; the summary takes the engine's.
    qint64 ElapsedSeconds() const;

    std::FILE* m_terminal;
    const IClock& m_clock;
    const qint64 m_startTick;
    qint32 m_lMax = 0;
    qint32 m_lDone = 0;
    bool m_bDrawn = false;
};
