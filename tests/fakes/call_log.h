#pragma once

#include <string>
#include <vector>

namespace tavren::fakes {

// One ordered record of the calls that every fake of a test received, so a test
// can check the order across services ("bringToFront 7", "execute ...").
class CallLog {
public:
    void add(std::string entry) { entries_.push_back(std::move(entry)); }
    const std::vector<std::string>& entries() const { return entries_; }
    void clear() { entries_.clear(); }
    // Entries that start with prefix, in order.
    std::vector<std::string> withPrefix(const std::string& prefix) const {
        std::vector<std::string> out;
        for (const auto& e : entries_)
            if (e.rfind(prefix, 0) == 0) out.push_back(e);
        return out;
    }

private:
    std::vector<std::string> entries_;
};

} // namespace tavren::fakes
