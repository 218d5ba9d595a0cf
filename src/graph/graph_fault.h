// Run-time errors of the graph engine that are not arithmetic: an index of the
// label table out of range, an unknown scale mode. Arithmetic faults (overflow,
// division by zero, a pixel that does not fit 32 bits) stay ArithmeticFault.
// Callers catch both through std::runtime_error (see RunGuarded).
#pragma once

#include <stdexcept>
#include <string>

#include "core/numbers.h"

namespace halvorn {

class GraphFault : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// What a guarded graph step gives back: success, or the reason it stopped.
struct [[nodiscard]] GraphOutcome {
    bool ok = true;
    std::string message;
};

// Runs step and turns a run-time error of the graph engine into a failed
// outcome instead of letting it escape.
template <typename Step>
GraphOutcome RunGuarded(Step&& step) {
    try {
        step();
    } catch (const std::runtime_error& e) {
        return {false, e.what()};
    }
    return {};
}

}  // namespace halvorn
