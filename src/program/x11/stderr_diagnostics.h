#pragma once

#include "platform/services/diagnostics.h"

#include <cstdio>
#include <string>

namespace tavren::program {

// --verbose: every ignored failure as one line on standard error, for whoever
// helps a user find out why nothing happened.
class StderrDiagnostics final : public services::Diagnostics {
public:
    void report(const services::Failure& failure) override {
        const std::string line = "tavren: " + services::describe(failure) + "\n";
        std::fputs(line.c_str(), stderr);
    }
};

} // namespace tavren::program
