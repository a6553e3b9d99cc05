#include "ScriptFile.h"

#include "ScriptSplitter.h"

ScriptFile::ScriptFile(const QString& sPath)
    : m_file(sPath), m_text(DetectEncoding(m_file.Bytes())) {}

void ScriptFile::ForEachBatch(const std::function<void(QStringView)>& execute) const {
    if (OneByteAscii(m_text.encoding)) {
        for (const QByteArrayView batch : SplitScript(m_text.body))
            execute(Decode(m_text.encoding, batch));
        return;
    }
    const QString text = Decode(m_text.encoding, m_text.body);
    for (const QStringView batch : SplitScript(text)) execute(batch);
}
