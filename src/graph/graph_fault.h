// Run-time errors of the graph engine that are not arithmetic: an index of the
// label table out of range, an unknown scale mode. Arithmetic faults (overflow,
// division by zero, a pixel that does not fit 32 bits) stay ArithmeticFault.
// Callers catch both through RunGuarded.
#pragma once

#include <exception>
#include <stdexcept>
#include <string>

#include "core/numbers.h"

namespace halvorn {

class GraphFault : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Why a guarded graph step stopped: an arithmetic overflow, a division by
// zero, or anything else (an index out of range, an unknown mode).
enum class GraphFailure { None, Overflow, DivisionByZero, InvalidCall };

// What a guarded graph step gives back: success, or the reason it stopped.
struct [[nodiscard]] GraphOutcome {
    bool ok = true;
    std::string message;
    GraphFailure failure = GraphFailure::None;
};

// Runs step and turns an error of the graph engine into a failed outcome
// instead of letting it escape.
template <typename Step>
GraphOutcome RunGuarded(Step&& step) {
    try {
        step();
    } catch (const ArithmeticFault& e) {
        return {false, e.what(),
                e.kind() == ArithmeticKind::DivisionByZero ? GraphFailure::DivisionByZero
                                                           : GraphFailure::Overflow};
    } catch (const std::exception& e) {
        return {false, e.what(), GraphFailure::InvalidCall};
    }
    return {};
}

}  // namespace halvorn
