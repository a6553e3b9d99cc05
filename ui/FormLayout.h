#pragma once

#include <QFont>
#include <QRect>
#include <QString>
#include <QWidget>
#include <initializer_list>

// Window layouts are given in twips: 15 twips make one pixel at 96 dpi, and Qt scales pixels
// on high-dpi screens.
constexpr int Twips(int twips) { return (twips + 7) / 15; }

inline QRect TwipRect(int left, int top, int width, int height) {
    return {Twips(left), Twips(top), Twips(width), Twips(height)};
}

// Gives the control its name and its place in its parent, in twips.
template <class Control>
Control* Place(Control* control, const char* name, int left, int top, int width, int height) {
    control->setObjectName(QString::fromLatin1(name));
    control->setGeometry(TwipRect(left, top, width, height));
    return control;
}

// A window font. Where the platform lacks the family, a sans of the same width takes its
// place, so that captions fit the fixed layouts; the system sans comes last.
inline QFont FormFont(const QString& family, qreal pointSize, bool bold = false) {
    QFont font;
    font.setFamilies({family, QStringLiteral("Liberation Sans"), QStringLiteral("Arial")});
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    return font;
}

inline QFont Tahoma825() { return FormFont(QStringLiteral("Tahoma"), 8.25); }

// What the windows' controls use unless they name another font.
inline QFont DefaultFormFont() { return FormFont(QStringLiteral("MS Sans Serif"), 8.25); }

inline void SetBold(QWidget* widget, bool bold) {
    QFont font = widget->font();
    font.setBold(bold);
    widget->setFont(font);
}

// Tab order, first to last.
inline void SetTabOrder(std::initializer_list<QWidget*> widgets) {
    QWidget* previous = nullptr;
    for (QWidget* widget : widgets) {
        if (previous) QWidget::setTabOrder(previous, widget);
        previous = widget;
    }
}
