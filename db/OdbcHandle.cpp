#include "OdbcHandle.h"

#include <utility>

static_assert(sizeof(SQLWCHAR) == sizeof(char16_t), "the driver manager must use UTF-16");

OdbcHandle::OdbcHandle(SQLSMALLINT type, SQLHANDLE parent) : m_type(type) {
    const SQLRETURN rc = SQLAllocHandle(type, parent, &m_handle);
    if (SQL_SUCCEEDED(rc)) return;
    // The parent holds the reason an allocation failed.
    m_handle = SQL_NULL_HANDLE;
    const SQLSMALLINT parentType = type == SQL_HANDLE_STMT ? SQL_HANDLE_DBC : SQL_HANDLE_ENV;
    throw OdbcError(rc, parent == SQL_NULL_HANDLE ? std::vector<DiagRecord>{}
                                                  : DiagnosticsOf(parentType, parent));
}

OdbcHandle::~OdbcHandle() {
    if (m_handle != SQL_NULL_HANDLE) SQLFreeHandle(m_type, m_handle);
}

OdbcHandle::OdbcHandle(OdbcHandle&& other) noexcept
    : m_type(other.m_type), m_handle(std::exchange(other.m_handle, SQLHANDLE{})) {}

OdbcHandle& OdbcHandle::operator=(OdbcHandle&& other) noexcept {
    if (this != &other) {
        if (m_handle != SQL_NULL_HANDLE) SQLFreeHandle(m_type, m_handle);
        m_type = other.m_type;
        m_handle = std::exchange(other.m_handle, SQLHANDLE{});
    }
    return *this;
}

std::vector<DiagRecord> DiagnosticsOf(SQLSMALLINT type, SQLHANDLE handle) {
    std::vector<DiagRecord> records;
    for (SQLSMALLINT i = 1;; ++i) {
        SQLWCHAR state[6] = {};
        SQLINTEGER native = 0;
        SQLSMALLINT length = 0;
        std::vector<SQLWCHAR> text(512);
        SQLRETURN rc = SQLGetDiagRecW(type, handle, i, state, &native, text.data(),
                                      SQLSMALLINT(text.size()), &length);
        if (rc == SQL_SUCCESS_WITH_INFO && length >= SQLSMALLINT(text.size())) {
            text.resize(length + 1);  // the message was cut: ask again with room for it
            rc = SQLGetDiagRecW(type, handle, i, state, &native, text.data(),
                                SQLSMALLINT(text.size()), &length);
        }
        if (!SQL_SUCCEEDED(rc)) break;
        records.push_back({QString::fromUtf16(reinterpret_cast<const char16_t*>(state), 5), native,
                           QString::fromUtf16(reinterpret_cast<const char16_t*>(text.data()),
                                              qMin<qsizetype>(length, text.size() - 1))});
    }
    return records;
}

std::vector<DiagRecord> OdbcHandle::Diagnostics() const { return DiagnosticsOf(m_type, m_handle); }

SQLRETURN OdbcHandle::Check(SQLRETURN rc) const {
    if (SQL_SUCCEEDED(rc) || rc == SQL_NO_DATA) return rc;
    throw OdbcError(rc, Diagnostics());
}
