#include "kx204/host/runtime_error.hpp"

namespace kx204::host {

RuntimeError::RuntimeError(long number_, const std::string& description_)
    : std::runtime_error(description_), number(number_), description(description_) {}

RuntimeError OverflowError() { return {errores::Overflow, "Overflow"}; }
RuntimeError TypeMismatchError() { return {errores::TypeMismatch, "Type mismatch"}; }
RuntimeError InvalidUseOfNullError() { return {errores::InvalidUseOfNull, "Invalid use of Null"}; }
RuntimeError ObjectRequiredError() { return {errores::ObjectRequired, "Object required"}; }

}  // namespace kx204::host
