#pragma once

#include "console_output.h"
#include "platform/services/diagnostics.h"

namespace tavren::program {

// --verbose: every ignored failure as one line on standard error (or the
// console of the command prompt that started tavren.exe).
class StderrDiagnostics final : public services::Diagnostics {
public:
    void report(const services::Failure& failure) override {
        writeText(Stream::Error, "tavren: " + services::describe(failure) + "\n");
    }
};

} // namespace tavren::program
