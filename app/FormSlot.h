#pragma once
// The life cycle every window of the program shares: it exists at most once, is created on first
// use (showing it, or reading or setting one of its controls) and loaded right then, and closing
// it destroys it so that the next use creates and loads it afresh.

#include <functional>
#include <memory>
#include <utility>

namespace ambrel {

template <class View> class FormSlot {
public:
    using Create = std::function<std::unique_ptr<View>()>;
    using Load = std::function<void(View&)>;

    FormSlot(Create create, Load load) : create_(std::move(create)), load_(std::move(load)) {}
    FormSlot(const FormSlot&) = delete;
    FormSlot& operator=(const FormSlot&) = delete;

    // The window, created and loaded first if it does not exist. The view is in place before the
    // load runs, so that the load's own handlers can reach the window's controls.
    View& createdOnUse() {
        if (!view_) {
            view_ = create_();
            load_(*view_);
        }
        return *view_;
    }

    View* ifLoaded() const { return view_.get(); }
    bool isLoaded() const { return view_ != nullptr; }

    // Destroys the window. A platform window that asked for its own close may be gone when this
    // returns, so its handler must return right away.
    void unload() { view_.reset(); }

private:
    Create create_;
    Load load_;
    std::unique_ptr<View> view_;
};

} // namespace ambrel
