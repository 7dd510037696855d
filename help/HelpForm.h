#pragma once
// The program's own help window, for systems without a WinHelp viewer: the whole help, from the
// same source as the help file, in one read-only text. Created on first use; shown again, it
// comes to the front; closed, it is gone until the next use.

#include "app/FormSlot.h"
#include "help/HelpView.h"

namespace ambrel {

class HelpForm {
public:
    explicit HelpForm(FormSlot<HelpView>& window) : window_(window) {}
    HelpForm(const HelpForm&) = delete;
    HelpForm& operator=(const HelpForm&) = delete;

    void show();
    // Escape and the close box. The view is gone on return.
    void onClose();

private:
    FormSlot<HelpView>& window_;
};

} // namespace ambrel
