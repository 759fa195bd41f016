#include "platform/backend/x11/synthesis_ledger.h"

namespace tavren::backend::x11 {

void SynthesisLedger::clear() {
    presses_.fill(0);
    releases_.fill(0);
}

bool SynthesisLedger::consume(std::uint32_t& count) {
    if (count == 0) return false;
    --count;
    return true;
}

} // namespace tavren::backend::x11
