// The small pixel font: glyphs designed on the grid, read from a text file
// (resources/font-small.txt), with the advances the editor's small-font
// labels use.
#pragma once

#include <array>
#include <string>
#include <vector>

class PixelFont {
public:
  // Reads the glyph file; returns an error text, empty on success. Every
  // printable ASCII character must be defined exactly once.
  std::string Load(const std::string& path);

  // Rows of '#' and '.' for character c (32..126).
  const std::vector<std::string>& Glyph(char c) const;

  // Advance of c in a label and the extra pixel some characters take before
  // them when they are not the first of the text.
  static int Advance(char c);
  static int ExtraBefore(char c);
  // Width of a one-line label text, as the label measures it.
  static int TextWidth(const std::string& text);

private:
  std::array<std::vector<std::string>, 95> mGlyphs;
};
