#include "kx204/host/connection.hpp"

namespace kx204::host {

CommandTimeoutScope::CommandTimeoutScope(Connection& connection, int seconds)
    : connection_(connection), previous_(connection.CommandTimeout()) {
    connection_.SetCommandTimeout(seconds);
}

CommandTimeoutScope::~CommandTimeoutScope() {
    try {
        connection_.SetCommandTimeout(previous_);
    } catch (const std::exception&) {
        // A connection that cannot take it back has failed already; that failure is the one reported.
    }
}

std::string SqlText(const std::string& value) {
    std::string escaped;
    escaped.reserve(value.size() + 2);
    for (char c : value) {
        escaped += c;
        if (c == '\'') escaped += '\'';
    }
    return escaped;
}

}  // namespace kx204::host
