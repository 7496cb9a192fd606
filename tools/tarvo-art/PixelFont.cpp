#include "PixelFont.h"

#include <fstream>

//------------------------------------------------------------------------
std::string PixelFont::Load(const std::string& path) {
  std::ifstream in(path);
  if (!in) return "cannot read " + path;
  std::array<bool, 95> seen{};
  std::string line;
  int current = -1;
  int lineNo = 0;
  while (std::getline(in, line)) {
    ++lineNo;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    // Comments start with "# "; glyph rows never hold a blank.
    if (line.empty() || line.rfind("# ", 0) == 0) continue;
    if (line.size() == 3 && line[0] == '=' && line[1] == ' ') {
      const int c = static_cast<unsigned char>(line[2]);
      if (c < 32 || c > 126) return path + ":" + std::to_string(lineNo) + ": not a printable character";
      current = c - 32;
      if (seen[current]) return path + ":" + std::to_string(lineNo) + ": glyph defined twice";
      seen[current] = true;
      continue;
    }
    if (current < 0) return path + ":" + std::to_string(lineNo) + ": row before the first glyph";
    if (line.find_first_not_of("#.") != std::string::npos)
      return path + ":" + std::to_string(lineNo) + ": rows hold only '#' and '.'";
    if (mGlyphs[current].size() >= 7) return path + ":" + std::to_string(lineNo) + ": more than 7 rows";
    if (line.size() > 7) return path + ":" + std::to_string(lineNo) + ": wider than 7 columns";
    mGlyphs[current].push_back(line);
  }
  for (int i = 0; i < 95; ++i)
    if (!seen[i]) return path + ": no glyph for '" + std::string(1, static_cast<char>(i + 32)) + "'";
  return {};
}

//------------------------------------------------------------------------
const std::vector<std::string>& PixelFont::Glyph(char c) const {
  const int i = static_cast<unsigned char>(c) - 32;
  return mGlyphs[(i < 0 || i >= 95) ? 0 : i];
}

//------------------------------------------------------------------------
int PixelFont::Advance(char c) {
  switch (c) {
  case 'w': case 'm': case 'M': case 'W': return 7;
  case 'l': return 5;
  case 'i': return 3;
  case ' ': case '1': return 4;
  case '(': case ')': case ',': case 'I': return 3;
  case '.': return 2;
  default: return 6;
  }
}

//------------------------------------------------------------------------
int PixelFont::ExtraBefore(char c) {
  return (c == 'w' || c == 'm' || c == 'M' || c == 'W') ? 1 : 0;
}

//------------------------------------------------------------------------
int PixelFont::TextWidth(const std::string& text) {
  int w = 0;
  for (size_t i = 0; i < text.size(); ++i) w += Advance(text[i]) + (i > 0 ? ExtraBefore(text[i]) : 0);
  return w;
}
