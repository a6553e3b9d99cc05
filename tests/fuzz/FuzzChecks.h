#pragma once

#include <QByteArrayView>
#include <QString>

// Each check feeds any bytes to one unit and answers how it disagreed with its reference,
// or an empty text. The fuzz targets and the regression table share them.
QString CheckCommandLine(QByteArrayView bytes);
QString CheckScriptSplitter(QByteArrayView bytes);
QString CheckDecodeText(QByteArrayView bytes);
QString CheckSplitLines(QByteArrayView bytes);
