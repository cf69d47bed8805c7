#include "engine/status_texts.h"

namespace engine {

std::string completionText(std::size_t failures)
{
    std::string text(kCompletionText);
    if (failures != 0) {
        text += " 【エラー】 ";
        text += std::to_string(failures);
        text += " 個のファイルまたはフォルダを処理できませんでした。";
    }
    return text;
}

} // namespace engine
