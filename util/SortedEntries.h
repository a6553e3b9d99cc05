#pragma once

#include <QDir>
#include <QStringList>
#include <algorithm>
#include <utility>
#include <vector>

#include "FoldCase.h"

// Orders names without regard to case; a case-sensitive tie-break keeps the order the same
// from one listing to the next.
inline void SortByName(QStringList& names) {
    // Each name folded once rather than at every comparison.
    std::vector<std::pair<QString, QString>> keyed;
    keyed.reserve(names.size());
    for (QString& name : names) keyed.emplace_back(FoldCase(name), std::move(name));
    std::sort(keyed.begin(), keyed.end());
    for (qsizetype i = 0; i < names.size(); ++i) names[i] = std::move(keyed[i].second);
}

// The names of a folder's entries, ordered by SortByName.
inline QStringList SortedEntries(const QString& folder, const QStringList& nameFilters,
                                 QDir::Filters filters) {
    QStringList names = QDir(folder).entryList(nameFilters, filters, QDir::NoSort);
    SortByName(names);
    return names;
}
