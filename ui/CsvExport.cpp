#include "CsvExport.h"

#include <QFile>
#include <algorithm>

namespace {

QString CsvCell(const QString& cell) {
    static const QString kSpecial = QStringLiteral(",\"\r\n");
    if (std::none_of(cell.cbegin(), cell.cend(), [](QChar c) { return kSpecial.contains(c); }))
        return cell;
    QString quoted = cell;
    quoted.replace(u'"', QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

}  // namespace

QString WriteCsvFile(const QString& path, const QList<QStringList>& rows) {
    QString text;
    for (const QStringList& row : rows) {
        QStringList cells;
        for (const QString& cell : row) cells << CsvCell(cell);
        text += cells.join(u',') + QStringLiteral("\r\n");
    }
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return file.errorString();
    const QByteArray bytes = text.toUtf8();
    if (file.write(bytes) != bytes.size() || !file.flush()) return file.errorString();
    file.close();
    return file.error() == QFileDevice::NoError ? QString() : file.errorString();
}
