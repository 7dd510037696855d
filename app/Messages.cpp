#include "app/Messages.h"

#include "app/NumberRules.h"

namespace ambrel {

std::string fatalErrorText(int number) {
    return "エラー (" + numberText(number) + ") が発生しました、終了します。";
}

} // namespace ambrel
