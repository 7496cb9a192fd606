#include "tools/tarvo-render/TextColumns.h"

#include <algorithm>

namespace render {

namespace {

void AppendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

} // namespace

//------------------------------------------------------------------------
std::size_t DisplayWidth(std::string_view utf8)
{
    return static_cast<std::size_t>(
        std::count_if(utf8.begin(), utf8.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

//------------------------------------------------------------------------
std::string Utf16ToUtf8(const char16_t* text)
{
    std::string out;
    for (; text != nullptr && *text != 0; ++text) {
        char32_t c = *text;
        bool high = c >= 0xD800 && c < 0xDC00, low = c >= 0xDC00 && c < 0xE000;
        if (high && text[1] >= 0xDC00 && text[1] < 0xE000) {
            c = 0x10000 + ((c - 0xD800) << 10) + (static_cast<char32_t>(text[1]) - 0xDC00);
            ++text;
        } else if (high || low) {
            c = 0xFFFD;
        }
        AppendUtf8(out, c);
    }
    return out;
}

//------------------------------------------------------------------------
std::string FormatColumns(const std::vector<std::vector<std::string>>& rows, const std::vector<Align>& align)
{
    std::vector<std::size_t> width(align.size(), 0);
    for (const auto& row : rows)
        for (std::size_t c = 0; c < row.size() && c < width.size(); ++c)
            width[c] = std::max(width[c], DisplayWidth(row[c]));

    std::string out;
    for (const auto& row : rows) {
        std::string line;
        for (std::size_t c = 0; c < width.size(); ++c) {
            const std::string cell = c < row.size() ? row[c] : std::string();
            std::string pad(width[c] - DisplayWidth(cell), ' ');
            if (c > 0)
                line += "  ";
            line += align[c] == Align::kRight ? pad + cell : cell + pad;
        }
        line.erase(line.find_last_not_of(' ') + 1);
        out += line;
        out += '\n';
    }
    return out;
}

} // namespace render
