#include "help/HelpForm.h"

namespace ambrel {

void HelpForm::show() {
    window_.createdOnUse().showInFront();
}

void HelpForm::onClose() {
    window_.unload();
}

} // namespace ambrel
