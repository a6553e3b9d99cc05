#include "QueuedReceiver.h"

QueuedReceiver::QueuedReceiver(QObject& context, IProgressReceiver& receiver,
                               IMessageBox& messageBox)
    : m_context(context), m_receiver(receiver), m_messageBox(messageBox) {}

void QueuedReceiver::ProgressBar_SetMaxStep(qint32 lMax) {
    QMetaObject::invokeMethod(
        &m_context, [this, lMax] { m_receiver.ProgressBar_SetMaxStep(lMax); },
        Qt::QueuedConnection);
}

void QueuedReceiver::ProgressBar_AddStep() {
    QMetaObject::invokeMethod(
        &m_context, [this] { m_receiver.ProgressBar_AddStep(); }, Qt::QueuedConnection);
}

void QueuedReceiver::AddItem(const QString& text) {
    QMetaObject::invokeMethod(
        &m_context, [this, text] { m_receiver.AddItem(text); }, Qt::QueuedConnection);
}

void QueuedReceiver::Refresh() {
    QMetaObject::invokeMethod(
        &m_context, [this] { m_receiver.Refresh(); }, Qt::QueuedConnection);
}

qint32 QueuedReceiver::Show(const QString& text, qint32 style, const QString& title) {
    qint32 answer = MsgBoxAnswer::Cancel;
    QMetaObject::invokeMethod(
        &m_context, [&] { return m_messageBox.Show(text, style, title); },
        Qt::BlockingQueuedConnection, &answer);
    return answer;
}
