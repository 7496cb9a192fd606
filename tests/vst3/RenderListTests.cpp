// The render tool's parameter list: columns that line up on a terminal
// whatever the labels hold (multi-byte UTF-8, long unit names).
#include "tools/tarvo-render/Renderer.h"
#include "tools/tarvo-render/TextColumns.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// Display column at which `needle` starts in `line`, or npos.
std::size_t ColumnOf(const std::string& line, const std::string& needle)
{
    std::size_t at = line.find(needle);
    return at == std::string::npos ? at : render::DisplayWidth(std::string_view(line).substr(0, at));
}

// First byte of the character at a display column ('\0' past the end).
char CharAt(const std::string& line, std::size_t column)
{
    for (std::size_t at = 0, seen = 0; at < line.size(); ++at) {
        if ((static_cast<unsigned char>(line[at]) & 0xC0) == 0x80)
            continue;
        if (seen++ == column)
            return line[at];
    }
    return '\0';
}

bool StartsCell(const std::string& line, std::size_t column)
{
    return column > 0 && CharAt(line, column - 1) == ' ' && CharAt(line, column) != ' ' && CharAt(line, column) != '\0';
}

TEST(RenderList, TextConvertsAndMeasuresByCharacter)
{
    EXPECT_EQ(render::DisplayWidth("\xC2\xB0"), 1u);                     // degree sign
    EXPECT_EQ(render::DisplayWidth("M\xC3\xBC\xC3\x9F" "e"), 4u);        // two-byte letters
    EXPECT_EQ(render::DisplayWidth("\xE2\x86\x94 \xF0\x9D\x84\x9E"), 3u); // three and four bytes

    const char16_t degree[] = {u'1', 0x00B0, 0};
    EXPECT_EQ(render::Utf16ToUtf8(degree), "1\xC2\xB0");
    const char16_t clef[] = {0xD834, 0xDD1E, 0};
    EXPECT_EQ(render::Utf16ToUtf8(clef), "\xF0\x9D\x84\x9E");
    const char16_t lone[] = {u'a', 0xD834, u'b', 0xDD1E, 0};
    EXPECT_EQ(render::Utf16ToUtf8(lone), "a\xEF\xBF\xBD" "b\xEF\xBF\xBD");
    EXPECT_EQ(render::Utf16ToUtf8(nullptr), "");
}

TEST(RenderList, ColumnsLineUpWithWideAndMultiByteCells)
{
    using render::Align;
    std::string table = render::FormatColumns(
        {{"Angle", "-180", "\xC2\xB0", "x"}, {"Delay", "5", "Fractional Samples", "y"}, {"Short"}},
        {Align::kLeft, Align::kRight, Align::kLeft, Align::kLeft});
    auto lines = Lines(table);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "Angle  -180  \xC2\xB0                   x");
    EXPECT_EQ(lines[1], "Delay     5  Fractional Samples  y");
    EXPECT_EQ(lines[2], "Short");  // short rows leave no trailing blanks
    EXPECT_EQ(render::FormatColumns({}, {Align::kLeft}), "");
}

TEST(RenderList, ThePluginsParametersListInAlignedColumns)
{
    render::Renderer renderer;
    std::string error;
    ASSERT_TRUE(renderer.Load(TARVO_PRODUCT_BUNDLE_PATH, error)) << error;
    ASSERT_TRUE(renderer.Prepare(44100.0, 512, false, false, error)) << error;
    std::FILE* file = std::tmpfile();
    ASSERT_NE(file, nullptr);
    renderer.ListParams(file);
    std::rewind(file);
    std::string text;
    for (int c; (c = std::fgetc(file)) != EOF;)
        text += static_cast<char>(c);
    std::fclose(file);

    auto lines = Lines(text);
    ASSERT_GE(lines.size(), 10u);
    const std::string& head = lines[0];
    std::size_t toEnd = ColumnOf(head, "To") + 2, unit = ColumnOf(head, "Unit"), now = ColumnOf(head, "Now");
    ASSERT_NE(now, std::string::npos);
    bool sawDegree = false, sawLongUnit = false;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        // Upper bounds end under the end of their heading; values start
        // under theirs, after a blank.
        EXPECT_TRUE(StartsCell(line, now)) << line;
        EXPECT_NE(CharAt(line, toEnd - 1), ' ') << line;
        EXPECT_EQ(CharAt(line, toEnd), ' ') << line;
        if (CharAt(line, unit) != ' ') {
            EXPECT_TRUE(StartsCell(line, unit)) << line;
        }
        sawDegree = sawDegree || ColumnOf(line, "\xC2\xB0") == unit;
        sawLongUnit = sawLongUnit || ColumnOf(line, "Fractional Samples") == unit;
    }
    EXPECT_TRUE(sawDegree);
    EXPECT_TRUE(sawLongUnit);
}

} // namespace
