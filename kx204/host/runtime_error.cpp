#include "kx204/host/runtime_error.hpp"

namespace kx204::host {

RuntimeError::RuntimeError(long number_, const std::string& description_)
    : std::runtime_error(description_), number(number_), description(description_) {}

RuntimeError OverflowError() { return {errores::Overflow, "Overflow"}; }
RuntimeError TypeMismatchError() { return {errores::TypeMismatch, "Type mismatch"}; }
RuntimeError InvalidUseOfNullError() { return {errores::InvalidUseOfNull, "Invalid use of Null"}; }
RuntimeError ObjectRequiredError() { return {errores::ObjectRequired, "Object required"}; }
RuntimeError ItemNotFoundError() {
    return {3265, "Item cannot be found in the collection corresponding to the requested name or ordinal."};
}
RuntimeError NoCurrentRecordError() {
    return {3021,
            "Either BOF or EOF is True, or the current record has been deleted. "
            "Requested operation requires a current record."};
}
RuntimeError ObjectClosedError() { return {3704, "Operation is not allowed when the object is closed."}; }

}  // namespace kx204::host
