// The yardstick for Velmar's client cost: the same batches through the same driver, the same
// way (one statement handle per batch, query timeout set, every result drained, the reading of
// the session's state at connection and after each script), with nothing else around them.
//
// velmar_bare_loop CONNECTION-STRING BATCH-FILE
// The batch file is UTF-16LE: each batch is followed by U+001E, each script's last batch
// by U+001E U+001D. It is mapped whole before the connection opens.
#include <fcntl.h>
#include <sql.h>
#include <sqlext.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <clocale>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <utility>

namespace {

constexpr char16_t kBatchEnd = u'\x1e';
constexpr char16_t kScriptEnd = u'\x1d';
constexpr SQLULEN kQueryTimeoutSeconds = 120;
constexpr SQLULEN kLoginTimeoutSeconds = 15;
constexpr std::u16string_view kStateQuery = u"select @@trancount, db_name(), @@options";

SQLWCHAR* Wide(std::u16string_view text) {
    return reinterpret_cast<SQLWCHAR*>(const_cast<char16_t*>(text.data()));
}

class Handle {
public:
    Handle(SQLSMALLINT type, SQLHANDLE parent) : m_type(type) {
        if (!SQL_SUCCEEDED(SQLAllocHandle(type, parent, &m_handle)))
            throw std::runtime_error("SQLAllocHandle failed");
    }
    ~Handle() {
        if (m_handle != SQL_NULL_HANDLE) SQLFreeHandle(m_type, m_handle);
    }
    Handle(Handle&& other) noexcept
        : m_type(other.m_type), m_handle(std::exchange(other.m_handle, SQLHANDLE{})) {}
    Handle& operator=(Handle&&) = delete;

    SQLHANDLE Get() const { return m_handle; }

    SQLRETURN Check(SQLRETURN rc) const {
        if (SQL_SUCCEEDED(rc) || rc == SQL_NO_DATA) return rc;
        SQLWCHAR state[6] = {};
        SQLWCHAR text[1024] = {};
        SQLINTEGER native = 0;
        SQLSMALLINT length = 0;
        SQLGetDiagRecW(m_type, m_handle, 1, state, &native, text, 1024, &length);
        std::string message;
        for (SQLSMALLINT i = 0; i < length && i < 1023; ++i) message += char(text[i]);
        throw std::runtime_error(message);
    }

private:
    SQLSMALLINT m_type;
    SQLHANDLE m_handle = SQL_NULL_HANDLE;
};

Handle Execute(const Handle& dbc, std::u16string_view batch) {
    Handle statement(SQL_HANDLE_STMT, dbc.Get());
    statement.Check(SQLSetStmtAttrW(statement.Get(), SQL_ATTR_QUERY_TIMEOUT,
                                    reinterpret_cast<SQLPOINTER>(kQueryTimeoutSeconds),
                                    SQL_IS_UINTEGER));
    statement.Check(SQLExecDirectW(statement.Get(), Wide(batch), SQLINTEGER(batch.size())));
    return statement;
}

void Drain(const Handle& statement) {
    while (statement.Check(SQLMoreResults(statement.Get())) != SQL_NO_DATA) {
    }
}

// Where the session is: open transactions, database, SET options.
struct State {
    SQLBIGINT transactions = -1;
    std::u16string database;
    SQLBIGINT options = -1;
    bool operator==(const State&) const = default;
};

// The reading the engine makes at connection and after each script; the inputs change
// nothing, so every reading must match the first.
State ReadState(const Handle& dbc) {
    const Handle statement = Execute(dbc, kStateQuery);
    State state;
    SQLWCHAR name[256] = {};
    SQLLEN indicator = 0;
    if (statement.Check(SQLFetch(statement.Get())) != SQL_NO_DATA) {
        statement.Check(SQLGetData(statement.Get(), 1, SQL_C_SBIGINT, &state.transactions,
                                   sizeof state.transactions, &indicator));
        statement.Check(SQLGetData(statement.Get(), 2, SQL_C_WCHAR, name, sizeof name, &indicator));
        if (indicator > 0)
            state.database.assign(reinterpret_cast<const char16_t*>(name),
                                  std::size_t(indicator) / sizeof(SQLWCHAR));
        statement.Check(SQLGetData(statement.Get(), 3, SQL_C_SBIGINT, &state.options,
                                   sizeof state.options, &indicator));
    }
    Drain(statement);
    return state;
}

// The batch file, mapped with its pages loaded at once: the cheapest way to have it.
class BatchFile {
public:
    explicit BatchFile(const char* path) {
        const int fd = ::open(path, O_RDONLY | O_CLOEXEC);
        struct stat status {};
        if (fd < 0 || ::fstat(fd, &status) != 0)
            throw std::runtime_error(std::string("cannot open ") + path);
        m_size = std::size_t(status.st_size);
        if (m_size > 0)
            m_data = ::mmap(nullptr, m_size, PROT_READ, MAP_PRIVATE | MAP_POPULATE, fd, 0);
        ::close(fd);
        if (m_data == MAP_FAILED) throw std::runtime_error(std::string("cannot read ") + path);
    }
    ~BatchFile() {
        if (m_size > 0) ::munmap(m_data, m_size);
    }
    BatchFile(const BatchFile&) = delete;
    BatchFile& operator=(const BatchFile&) = delete;

    std::u16string_view Text() const { return {static_cast<const char16_t*>(m_data), m_size / 2}; }

private:
    void* m_data = nullptr;
    std::size_t m_size = 0;
};

// Answers the number of batches sent, the checks included.
long Run(const char* connectionString, std::u16string_view text) {
    const Handle env(SQL_HANDLE_ENV, SQL_NULL_HANDLE);
    env.Check(SQLSetEnvAttr(env.Get(), SQL_ATTR_ODBC_VERSION,
                            reinterpret_cast<SQLPOINTER>(SQLULEN(SQL_OV_ODBC3)), 0));
    const Handle dbc(SQL_HANDLE_DBC, env.Get());
    dbc.Check(SQLSetConnectAttrW(dbc.Get(), SQL_ATTR_LOGIN_TIMEOUT,
                                 reinterpret_cast<SQLPOINTER>(kLoginTimeoutSeconds),
                                 SQL_IS_UINTEGER));
    std::u16string dsn(connectionString,
                       connectionString + std::char_traits<char>::length(connectionString));
    dbc.Check(SQLDriverConnectW(dbc.Get(), nullptr, Wide(dsn), SQL_NTS, nullptr, 0, nullptr,
                                SQL_DRIVER_NOPROMPT));
    Drain(Execute(dbc, u"set quoted_identifier off"));
    const State start = ReadState(dbc);
    if (start.transactions != 0) throw std::runtime_error("the session's state could not be read");
    long sent = 2;
    std::size_t from = 0;
    for (std::size_t at = text.find(kBatchEnd); at != text.npos; at = text.find(kBatchEnd, from)) {
        Drain(Execute(dbc, text.substr(from, at - from)));
        ++sent;
        from = at + 1;
        if (from < text.size() && text[from] == kScriptEnd) {
            if (!(ReadState(dbc) == start))
                throw std::runtime_error("a script changed the session's state");
            ++sent;
            ++from;
        }
    }
    dbc.Check(SQLDisconnect(dbc.Get()));
    return sent;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s CONNECTION-STRING BATCH-FILE\n", argv[0]);
        return 2;
    }
    // The environment's locale, under which Velmar runs too: it sets the driver's client
    // character set, and so the conversions it makes.
    std::setlocale(LC_ALL, "");
    try {
        const long sent = Run(argv[1], BatchFile(argv[2]).Text());
        std::printf("%ld batches\n", sent);
        return 0;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s: %s\n", argv[0], error.what());
        return 1;
    }
}
