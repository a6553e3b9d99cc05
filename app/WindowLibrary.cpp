#include "WindowLibrary.h"

#include <QFileInfo>
#include <QLibrary>
#include <cstdio>

WindowEntry LoadWindowEntry(const QString& program) {
    // The library lies at the same place relative to the binary in the build tree as once
    // installed, so that both find it without a search path.
    const QString path = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath() +
                         QStringLiteral("/" VELMAR_WINDOW_LIBRARY);
    if (!QFileInfo::exists(path)) return nullptr;
    QLibrary library(path);
    const auto entry = reinterpret_cast<WindowEntry>(library.resolve(kWindowEntryName));
    if (!entry)
        std::fprintf(stderr, "%s: %s\n", program.toLocal8Bit().constData(),
                     library.errorString().toLocal8Bit().constData());
    return entry;
}
