// Owned components: an owner frees, in its destructor, every component it owns.
#pragma once

#include <vector>

namespace rtl {

class TComponent {
public:
    explicit TComponent(TComponent* owner);
    virtual ~TComponent();
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    TComponent* Owner() const { return owner_; }
    int ComponentCount() const { return static_cast<int>(components_.size()); }
    TComponent* Components(int index) const;

private:
    TComponent* owner_;
    std::vector<TComponent*> components_;
};

} // namespace rtl
