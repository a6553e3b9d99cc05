#pragma once

#include <QLineEdit>

// A text field that takes what is dropped on it by the drop actions the source allows:
// copy and move give the dropped text, copy, move and link the path of the first dropped
// file. Anything else, or a drop without that data, leaves the field unchanged.
class DropLineEdit final : public QLineEdit {
public:
    using QLineEdit::QLineEdit;

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
};
