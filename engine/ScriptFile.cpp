#include "ScriptFile.h"

#include "Disk.h"
#include "ScriptSplitter.h"

ScriptFile::ScriptFile(const QString& sPath)
    : m_bytes(Disk::ReadFile(sPath)), m_text(DetectEncoding(m_bytes)) {}

void ScriptFile::ForEachBatch(const std::function<void(QStringView)>& execute) const {
    if (OneByteAscii(m_text.encoding)) {
        for (const QByteArrayView batch : SplitScript(m_text.body))
            execute(Decode(m_text.encoding, batch));
        return;
    }
    const QString text = Decode(m_text.encoding, m_text.body);
    for (const QStringView batch : SplitScript(text)) execute(batch);
}
