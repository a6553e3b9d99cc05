#pragma once

#include <QString>
#include <QtGlobal>

// Message-box styles (icon plus buttons) and answers, with the usual platform codes.
namespace MsgBoxStyle {
constexpr qint32 OkOnly = 0;
constexpr qint32 CriticalOk = 16;
constexpr qint32 CriticalOkCancel = 17;
constexpr qint32 CriticalRetryCancel = 21;
constexpr qint32 ExclamationAbortRetryIgnore = 50;
constexpr qint32 InformationOk = 64;
}  // namespace MsgBoxStyle

namespace MsgBoxAnswer {
constexpr qint32 Ok = 1;
constexpr qint32 Cancel = 2;
constexpr qint32 Abort = 3;
constexpr qint32 Retry = 4;
constexpr qint32 Ignore = 5;
}  // namespace MsgBoxAnswer

// Shows a modal message and answers the code of the button pressed. A box given an empty
// title carries the program's name.
class IMessageBox {
public:
    virtual ~IMessageBox() = default;
    virtual qint32 Show(const QString& text, qint32 style, const QString& title) = 0;
};
