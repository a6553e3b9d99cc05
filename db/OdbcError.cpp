#include "OdbcError.h"

#include <algorithm>

namespace {

const DiagRecord* Principal(const std::vector<DiagRecord>& records) {
    if (records.empty()) return nullptr;
    const auto error = std::find_if(records.begin(), records.end(), [](const DiagRecord& r) {
        return !r.sqlState.startsWith(u"01");
    });
    return error != records.end() ? &*error : &records.front();
}

qint32 NumberOf(const std::vector<DiagRecord>& records) {
    const DiagRecord* principal = Principal(records);
    return principal ? principal->native : 0;
}

QString DescriptionOf(short returnCode, const std::vector<DiagRecord>& records) {
    const DiagRecord* principal = Principal(records);
    return principal ? principal->text
                     : QStringLiteral("ODBC call failed with return code %1").arg(returnCode);
}

}  // namespace

OdbcError::OdbcError(short returnCode, const std::vector<DiagRecord>& records)
    : VelmarError(NumberOf(records), DescriptionOf(returnCode, records)) {}
