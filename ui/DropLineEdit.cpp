#include "DropLineEdit.h"

#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

namespace {

constexpr Qt::DropActions kTextDrop = Qt::CopyAction | Qt::MoveAction;
constexpr Qt::DropActions kFileDrop = Qt::CopyAction | Qt::MoveAction | Qt::LinkAction;

// What a drop would put in the field, if anything.
std::optional<QString> DroppedText(const QMimeData* data, Qt::DropActions allowed) {
    if (!data) return std::nullopt;
    // Plain text only: Qt would also offer a file list as text.
    if (allowed == kTextDrop && data->hasFormat(QStringLiteral("text/plain"))) return data->text();
    if (allowed == kFileDrop && data->hasUrls()) {
        const QUrl first = data->urls().constFirst();
        if (first.isLocalFile()) return first.toLocalFile();
    }
    return std::nullopt;
}

void AcceptIfUsable(QDragMoveEvent* event) {
    if (DroppedText(event->mimeData(), event->possibleActions()))
        event->acceptProposedAction();
    else
        event->ignore();
}

}  // namespace

void DropLineEdit::dragEnterEvent(QDragEnterEvent* event) { AcceptIfUsable(event); }

void DropLineEdit::dragMoveEvent(QDragMoveEvent* event) { AcceptIfUsable(event); }

void DropLineEdit::dropEvent(QDropEvent* event) {
    const std::optional<QString> text = DroppedText(event->mimeData(), event->possibleActions());
    if (!text) {
        event->ignore();
        return;
    }
    setText(*text);
    event->acceptProposedAction();
}
