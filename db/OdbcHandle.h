#pragma once

#include <sql.h>
#include <sqlext.h>

#include <vector>

#include "OdbcError.h"

// Every diagnostic record the last call on `handle` left, in order.
std::vector<DiagRecord> DiagnosticsOf(SQLSMALLINT type, SQLHANDLE handle);

// Sole owner of one ODBC handle; frees it on destruction.
class OdbcHandle {
public:
    // Allocates a handle of `type` under `parent` (SQL_NULL_HANDLE for an environment).
    OdbcHandle(SQLSMALLINT type, SQLHANDLE parent);
    ~OdbcHandle();

    OdbcHandle(OdbcHandle&& other) noexcept;
    OdbcHandle& operator=(OdbcHandle&& other) noexcept;
    OdbcHandle(const OdbcHandle&) = delete;
    OdbcHandle& operator=(const OdbcHandle&) = delete;

    SQLHANDLE Get() const { return m_handle; }

    // Every diagnostic record the last call on this handle left.
    std::vector<DiagRecord> Diagnostics() const;

    // Passes success, success with info and no-data through; throws OdbcError otherwise.
    SQLRETURN Check(SQLRETURN rc) const;

private:
    SQLSMALLINT m_type;
    SQLHANDLE m_handle = SQL_NULL_HANDLE;
};
