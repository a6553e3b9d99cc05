#pragma once

#include <QMessageBox>

#include "IMessageBox.h"

// Message boxes with the usual style codes (icon plus buttons) and answer codes.
class QtMessageBox final : public IMessageBox {
public:
    qint32 Show(const QString& text, qint32 style, const QString& title) override;

    // Icon, buttons and title of a box of `style`, ready to be shown.
    static void Configure(QMessageBox& box, const QString& text, qint32 style,
                          const QString& title);
    static qint32 AnswerCode(int button);
};
