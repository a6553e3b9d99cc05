#pragma once

#include <cstdio>

#include "IMessageBox.h"

// Writes a message box's title and lines to a stream and answers OK: what a user without a
// display sees of the boxes.
class ConsoleMessageBox final : public IMessageBox {
public:
    explicit ConsoleMessageBox(std::FILE* stream) : m_stream(stream) {}
    qint32 Show(const QString& text, qint32 style, const QString& title) override;

private:
    std::FILE* m_stream;
};
