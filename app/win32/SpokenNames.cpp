// The annotation service's GUIDs are defined here, so that no import library of oleacc is needed.
#include <initguid.h>

#include "app/win32/SpokenNames.h"

#include "app/win32/LateLibraries.h"

namespace ambrel::win32 {

SpokenNames::SpokenNames() {
    comStarted_ = SUCCEEDED(late::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    IAccPropServices* services = nullptr;
    if (comStarted_ && SUCCEEDED(late::CoCreateInstance(CLSID_AccPropServices, nullptr,
                                                        CLSCTX_INPROC_SERVER, IID_IAccPropServices,
                                                        reinterpret_cast<void**>(&services)))) {
        services_.reset(services);
    }
}

SpokenNames::~SpokenNames() {
    if (services_) {
        // The service keeps each name with its window until it is taken back.
        MSAAPROPID property = PROPID_ACC_NAME;
        for (HWND control : named_) {
            services_->ClearHwndProps(control, OBJID_CLIENT, CHILDID_SELF, &property, 1);
        }
        services_.reset();
    }
    if (comStarted_) {
        late::CoUninitialize();
    }
}

void SpokenNames::name(HWND control, const wchar_t* text) {
    if (services_ && SUCCEEDED(services_->SetHwndPropStr(control, OBJID_CLIENT, CHILDID_SELF,
                                                         PROPID_ACC_NAME, text))) {
        named_.push_back(control);
    }
}

} // namespace ambrel::win32
