#include "kx204/host/transaction.hpp"

namespace kx204::host {

Transaction::Transaction(Connection& connection, Mode mode) : connection_(connection) {
    if (mode == Mode::JoinOrBegin && connection_.InTransaction()) return;
    connection_.BeginTrans();
    open_ = true;
}

Transaction::~Transaction() { Rollback(); }

void Transaction::Commit() {
    if (!open_) return;
    connection_.CommitTrans();
    open_ = false;
}

void Transaction::Rollback() noexcept {
    if (!open_) return;
    open_ = false;
    try {
        if (connection_.InTransaction()) connection_.RollbackTrans();
    } catch (...) {
        // The connection is gone, and with it the transaction.
    }
}

}  // namespace kx204::host
