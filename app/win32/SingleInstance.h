#pragma once
// One running instance: a named mutex that the first instance holds until it ends.

#include "app/Platform.h"
#include "app/win32/Handles.h"

namespace ambrel::win32 {

class SingleInstance : public InstanceCheck {
public:
    bool anotherInstanceRunning() override;

private:
    KernelHandle mutex_;
};

} // namespace ambrel::win32
