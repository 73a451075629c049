#include "rtl/Component.h"

#include "rtl/Exceptions.h"

#include <algorithm>

namespace rtl {

TComponent::TComponent(TComponent* owner) : owner_(owner) {
    if (owner_)
        owner_->components_.push_back(this);
}

TComponent::~TComponent() {
    // Each owned component takes itself off the list as it goes.
    while (!components_.empty())
        delete components_.back();
    if (owner_) {
        auto& siblings = owner_->components_;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
    }
}

TComponent* TComponent::Components(int index) const {
    if (index < 0 || index >= ComponentCount())
        throw EListError();
    return components_[static_cast<std::size_t>(index)];
}

} // namespace rtl
