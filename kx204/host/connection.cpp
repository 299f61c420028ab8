#include "kx204/host/connection.hpp"

namespace kx204::host {

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
