#pragma once
#include "kx204/host/connection.hpp"

namespace kx204::host {

// The one way a transaction is run: begun when the guard is made, rolled back when it goes unless
// committed, so every early return and every exception leaves nothing behind. Never throws from its
// destructor. A guard that joins a transaction already open leaves its end to whoever opened it.
class Transaction {
public:
    enum class Mode { Begin, JoinOrBegin };

    explicit Transaction(Connection& connection, Mode mode = Mode::Begin);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    // Commits what this guard began; a failed commit leaves it to be rolled back.
    void Commit();
    // Rolls back at once, before the clerk is told why; later calls and the destructor do nothing more.
    void Rollback() noexcept;

private:
    Connection& connection_;
    bool open_ = false;  // began by this guard and not yet ended
};

}  // namespace kx204::host
