#pragma once

#include "platform/services/diagnostics.h"

#include <string>
#include <vector>

namespace tavren::backend::win32::testing {

// The ignored failures a component reported, as they came and as the
// --verbose log writes them.
class RecordedDiagnostics : public services::Diagnostics {
public:
    void report(const services::Failure& failure) override {
        failures.push_back(failure);
        lines.push_back(services::describe(failure));
    }
    std::vector<services::Failure> failures;
    std::vector<std::string> lines;
};

} // namespace tavren::backend::win32::testing
