#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace engine {

// The texts of the status line.
inline constexpr std::string_view kStartText = "Mac ファイルヘッダカット開始...";
// Followed directly by a file or subfolder name: the name stands two blanks after the dots.
inline constexpr std::string_view kCuttingText = "Mac ファイルヘッダカット中...  ";
inline constexpr std::string_view kCompletionText = "Mac ファイルヘッダカット完了。";
inline constexpr std::string_view kFolderServiceErrorText = "【エラー】 FileSystemObject が使用できません。";

// The completion text, followed on the same line by the error notice when failures is not zero.
std::string completionText(std::size_t failures);

} // namespace engine
