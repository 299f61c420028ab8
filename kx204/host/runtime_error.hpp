#pragma once
#include <stdexcept>
#include <string>

namespace kx204::host {

// A failure as the screen's error traps see it: a number and a description.
// Database failures arrive as this type too, carrying the driver's text.
class RuntimeError : public std::runtime_error {
public:
    RuntimeError(long number, const std::string& description);
    long number;
    std::string description;
};

// VB run-time error numbers the screen can meet.
namespace errores {
constexpr long Overflow = 6;
constexpr long TypeMismatch = 13;
constexpr long InvalidUseOfNull = 94;
constexpr long ObjectRequired = 424;
constexpr long Database = -2147217900;  // what ADO reports for a failed statement
}  // namespace errores

RuntimeError OverflowError();
RuntimeError TypeMismatchError();
RuntimeError InvalidUseOfNullError();
RuntimeError ObjectRequiredError();
// ADO's recordset failures, with its numbers and texts, which the screen's error messages show.
RuntimeError ItemNotFoundError();
RuntimeError NoCurrentRecordError();
RuntimeError ObjectClosedError();

}  // namespace kx204::host
