#pragma once
// Names that a screen reader reads for controls that no label can name: a control takes the name
// of the static text right before it in z-order, and each row of the options dialog has one
// unit label for its box and its scroll bar. The names are given through Dynamic Annotation
// (IAccPropServices), the system's way to name a window's accessible object, and taken back
// before the windows go. Without the annotation service (wine has none) nothing is named.

#include <windows.h>

#include <oleacc.h>

#include <memory>
#include <vector>

namespace ambrel::win32 {

class SpokenNames {
public:
    SpokenNames();
    ~SpokenNames();
    SpokenNames(const SpokenNames&) = delete;
    SpokenNames& operator=(const SpokenNames&) = delete;

    void name(HWND control, const wchar_t* text);

private:
    struct Releaser {
        void operator()(IUnknown* object) const { object->Release(); }
    };
    bool comStarted_ = false;
    std::unique_ptr<IAccPropServices, Releaser> services_;
    std::vector<HWND> named_;
};

} // namespace ambrel::win32
