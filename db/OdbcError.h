#pragma once

#include <QString>
#include <vector>

#include "VelmarError.h"

// One diagnostic record of an ODBC handle.
struct DiagRecord {
    QString sqlState;
    qint32 native = 0;
    QString text;  // as the driver words it, bracketed prefixes included
};

// A failed ODBC call, told by its diagnostic records. Number and description come from the first
// record that is not a warning (class 01), so a PRINT ahead of the error does not hide it; from the
// first record when all are warnings.
class OdbcError : public VelmarError {
public:
    OdbcError(short returnCode, const std::vector<DiagRecord>& records);
};
