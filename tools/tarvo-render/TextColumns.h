#pragma once
// Plain-text tables for the terminal. Widths count characters, not bytes,
// so labels in UTF-8 (a degree sign, accented letters) line up with ASCII
// ones; every column is as wide as its widest cell.
#include <string>
#include <string_view>
#include <vector>

namespace render {

// Characters a terminal shows for UTF-8 text: every byte that does not
// continue a multi-byte sequence starts a character.
std::size_t DisplayWidth(std::string_view utf8);

// UTF-16 text (as plug-in interfaces hand it out) as UTF-8. Surrogate pairs
// become one four-byte character; a lone surrogate becomes U+FFFD.
std::string Utf16ToUtf8(const char16_t* text);

enum class Align { kLeft, kRight };

// One line per row, cells separated by two spaces, no trailing blanks.
// Rows shorter than the column list leave their last columns empty.
std::string FormatColumns(const std::vector<std::vector<std::string>>& rows, const std::vector<Align>& align);

} // namespace render
