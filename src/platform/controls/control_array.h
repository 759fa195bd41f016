#pragma once

#include <map>
#include <memory>
#include <utility>

namespace tavren::controls {

// A control array: elements of one kind under one name, addressed by an index
// chosen at design (not necessarily from 0, not necessarily contiguous).
template <class T> class ControlArray {
public:
    template <class... Args> T& add(int index, Args&&... args) {
        auto& slot = elements_[index];
        slot = std::make_unique<T>(std::forward<Args>(args)...);
        return *slot;
    }
    // The element, or nullptr when the array has no element with that index.
    T* find(int index) const {
        auto it = elements_.find(index);
        return it == elements_.end() ? nullptr : it->second.get();
    }
    T& operator[](int index) const { return *elements_.at(index); }
    int size() const { return static_cast<int>(elements_.size()); }

    template <class F> void forEach(F&& f) const {
        for (const auto& [index, element] : elements_)
            f(index, *element);
    }

private:
    std::map<int, std::unique_ptr<T>> elements_;
};

} // namespace tavren::controls
