#pragma once

#include <QString>
#include <QtGlobal>

// The window a load reports to; the engine uses these four operations and no others.
class IProgressReceiver {
public:
    virtual ~IProgressReceiver() = default;
    virtual void ProgressBar_SetMaxStep(qint32 lMax) = 0;
    virtual void ProgressBar_AddStep() = 0;
    // Appends a row to the result grid lstErrProcs; TAB separates its cells.
    virtual void AddItem(const QString& text) = 0;
    virtual void Refresh() = 0;
};
