#pragma once
#include <memory>
#include <string>

#include "kx204/host/variant.hpp"

namespace kx204::host {

// A forward-only set of rows, as a statement answers it.
class Recordset {
public:
    virtual ~Recordset() = default;
    virtual bool Eof() const = 0;
    virtual void MoveNext() = 0;
    virtual int FieldCount() const = 0;
    virtual std::string FieldName(int index) const = 0;
    // By name, compared without regard to case; an unknown name fails.
    virtual Variant Field(const std::string& name) const = 0;
    virtual Variant Field(int index) const = 0;
    virtual void Close() = 0;
};

// The host's open database connection. Statements are written in SQL Server's
// dialect; failures raise RuntimeError with the driver's description.
class Connection {
public:
    virtual ~Connection() = default;
    // Runs any statement; a statement without rows answers an empty recordset.
    virtual std::unique_ptr<Recordset> Execute(const std::string& sql, int options = -1) = 0;
    // Runs a statement without rows and answers how many rows it changed (ADO's RecordsAffected):
    // a conditional UPDATE whose count decides is how a number is taken by one clerk only.
    virtual long ExecuteNonQuery(const std::string& sql) = 0;
    virtual void BeginTrans() = 0;
    virtual void CommitTrans() = 0;
    virtual void RollbackTrans() = 0;
    virtual bool InTransaction() const = 0;
    // How many transactions this connection has begun: what a caller learnt inside one holds while the
    // count is the same and InTransaction() is still true.
    virtual long TransactionCount() const = 0;
    virtual int CommandTimeout() const = 0;
    virtual void SetCommandTimeout(int seconds) = 0;
    virtual std::string DefaultDatabase() const = 0;
};

// Gives a connection a command time-out for one piece of work and puts the previous one back
// when it ends, whichever way. Declared before the recordsets of that work, so they are gone first.
class CommandTimeoutScope {
public:
    CommandTimeoutScope(Connection& connection, int seconds);
    ~CommandTimeoutScope();
    CommandTimeoutScope(const CommandTimeoutScope&) = delete;
    CommandTimeoutScope& operator=(const CommandTimeoutScope&) = delete;

private:
    Connection& connection_;
    int previous_;
};

// Doubles every single quote, so that a value can stand between quotes in a statement.
std::string SqlText(const std::string& value);

}  // namespace kx204::host
