#include "app/Messages.h"

#include "app/NumberRules.h"

namespace ambrel {

std::string fatalErrorText(int number, const std::string& unwritablePath) {
    std::string text = "エラー (" + numberText(number) + ") が発生しました、終了します。";
    if (!unwritablePath.empty()) {
        text += "\n" + unwritablePath +
                " に書き込めません。ambrel.exe のフォルダは書き込みができる必要があります。";
    }
    return text;
}

} // namespace ambrel
