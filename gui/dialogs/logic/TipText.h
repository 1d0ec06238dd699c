#pragma once
// Tool-tip texts come from the string table, where a command's string reads
// "<status-bar prompt>\n<tip>" (often with an empty prompt: "\nAdd files").
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// Longest string read from the string table for a tip, terminator included.
inline constexpr std::size_t kTipResourceChars = 256;
// Size of the text buffer inside a TTN_NEEDTEXT request, terminator included.
inline constexpr std::size_t kTipRequestChars = 80;

// The tip for a loaded string: the text after the first "\n" up to a second
// "\n" (or the end); empty when there is no "\n". No string means no tip.
std::optional<std::wstring> TipTextFromResource(std::optional<std::wstring_view> resource);

// The longest prefix of `text` that fits in a buffer of `capacity` characters
// with its terminator; never splits a UTF-16 surrogate pair.
std::wstring_view FitToBuffer(std::wstring_view text, std::size_t capacity);
