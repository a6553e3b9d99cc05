#pragma once

#include <QDir>
#include <QStringList>
#include <algorithm>

// The names of a folder's entries, ordered without regard to case; a case-sensitive tie-break
// keeps the order the same from one listing to the next.
inline QStringList SortedEntries(const QString& folder, const QStringList& nameFilters,
                                 QDir::Filters filters) {
    QStringList names = QDir(folder).entryList(nameFilters, filters, QDir::NoSort);
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        const int order = a.compare(b, Qt::CaseInsensitive);
        return order != 0 ? order < 0 : a < b;
    });
    return names;
}
