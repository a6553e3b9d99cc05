#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>
#include <functional>

#include "TextFile.h"

// A script file read whole and cut into its batches. UTF-8 and Windows-1252 scripts are cut
// on their bytes and each batch is decoded as it is sent, so that a large script is never
// held whole as UTF-16 text; UTF-16 scripts are decoded first.
class ScriptFile {
public:
    // Raises as Disk::ReadFile does.
    explicit ScriptFile(const QString& sPath);

    // Hands each batch to `execute`, in order; an exception from it ends the walk.
    void ForEachBatch(const std::function<void(QStringView)>& execute) const;

private:
    QByteArray m_bytes;
    EncodedText m_text;
};
