#pragma once

#include <QObject>

#include "IMessageBox.h"
#include "IProgressReceiver.h"

// Stands in for the window while a load runs on a worker thread: each progress call is queued
// to the window's thread in the order made, and each message box is shown there while the
// worker waits for its answer.
class QueuedReceiver final : public IProgressReceiver, public IMessageBox {
public:
    // `context` lives on the thread that `receiver` and `messageBox` belong to.
    QueuedReceiver(QObject& context, IProgressReceiver& receiver, IMessageBox& messageBox);

    void ProgressBar_SetMaxStep(qint32 lMax) override;
    void ProgressBar_AddStep() override;
    void AddItem(const QString& text) override;
    void Refresh() override;
    qint32 Show(const QString& text, qint32 style, const QString& title) override;

private:
    QObject& m_context;
    IProgressReceiver& m_receiver;
    IMessageBox& m_messageBox;
};
