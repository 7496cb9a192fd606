// tarvo-art: draws every PNG resource of the editor into a folder, as
// <id>_<name>.png. Deterministic: the same sources give the same bytes.
//
//   tarvo-art --out DIR --list FILE --glyphs FILE --fonts DIR [--only ID,...] [--jobs N]
//
// --list is the resource list the build expects (resources/png-resources.txt);
// the program refuses to run when its own table disagrees with it.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <fstream>
#include <mutex>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "ArtPaint.h"
#include "ArtResources.h"

namespace {

struct Options {
  std::string out, list, glyphs, fonts;
  std::set<int> only;
  int jobs = 2;
};

//------------------------------------------------------------------------
bool ParseOptions(int argc, char** argv, Options* o, std::string* error) {
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (i + 1 >= argc) {
      *error = "missing a value after " + a;
      return false;
    }
    const std::string v = argv[++i];
    if (a == "--out") o->out = v;
    else if (a == "--list") o->list = v;
    else if (a == "--glyphs") o->glyphs = v;
    else if (a == "--fonts") o->fonts = v;
    else if (a == "--jobs") o->jobs = std::max(1, std::atoi(v.c_str()));
    else if (a == "--only") {
      std::stringstream ss(v);
      std::string item;
      while (std::getline(ss, item, ',')) o->only.insert(std::atoi(item.c_str()));
    } else {
      *error = "unknown option " + a;
      return false;
    }
  }
  if (o->out.empty() || o->list.empty() || o->glyphs.empty() || o->fonts.empty()) {
    *error = "usage: tarvo-art --out DIR --list FILE --glyphs FILE --fonts DIR [--only ID,...] [--jobs N]";
    return false;
  }
  return true;
}

//------------------------------------------------------------------------
// Compares the table with the build's list: same ids, names, sizes, frames.
std::string CheckAgainstList(const std::string& path) {
  std::ifstream in(path);
  if (!in) return "cannot read " + path;
  std::vector<std::string> expected, actual;
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::stringstream ss(line);
    int id = 0, w = 0, h = 0, frames = 0;
    std::string name;
    if (!(ss >> id >> name >> w >> h >> frames)) return path + ": bad line: " + line;
    expected.push_back(std::to_string(id) + " " + name + " " + std::to_string(w) + "x" + std::to_string(h) + "/" +
                       std::to_string(frames));
  }
  for (const ArtResource& r : ArtResources())
    actual.push_back(std::to_string(r.id) + " " + r.name + " " + std::to_string(r.width) + "x" +
                     std::to_string(r.frameHeight * r.frames) + "/" + std::to_string(r.frames));
  std::sort(expected.begin(), expected.end());
  std::sort(actual.begin(), actual.end());
  if (expected != actual) return "the resource table and " + path + " disagree";
  return {};
}

}  // namespace

//------------------------------------------------------------------------
int main(int argc, char** argv) {
  Options opt;
  std::string error;
  if (!ParseOptions(argc, argv, &opt, &error)) {
    std::fprintf(stderr, "tarvo-art: %s\n", error.c_str());
    return 2;
  }
  error = CheckAgainstList(opt.list);
  if (!error.empty()) {
    std::fprintf(stderr, "tarvo-art: %s\n", error.c_str());
    return 1;
  }
  const auto start = std::chrono::steady_clock::now();
  ArtContext ctx;
  ctx.fontDir = opt.fonts;
  error = ctx.smallFont.Load(opt.glyphs);
  if (!error.empty()) {
    std::fprintf(stderr, "tarvo-art: %s\n", error.c_str());
    return 1;
  }
  try {
    LoadArtFonts(opt.fonts);
    ctx.background = PaintBackground(ctx.smallFont, true);
    ctx.plateGround = PaintBackground(ctx.smallFont, false);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "tarvo-art: %s\n", e.what());
    return 1;
  }

  // The largest strips first, so two workers finish together.
  std::vector<const ArtResource*> work;
  for (const ArtResource& r : ArtResources())
    if (opt.only.empty() || opt.only.count(r.id)) work.push_back(&r);
  std::stable_sort(work.begin(), work.end(), [](const ArtResource* a, const ArtResource* b) {
    return static_cast<long>(a->width) * a->frameHeight * a->frames >
           static_cast<long>(b->width) * b->frameHeight * b->frames;
  });
  std::atomic<size_t> next{0};
  std::mutex errorLock;
  std::vector<std::string> errors;
  auto worker = [&]() {
    for (size_t i = next++; i < work.size(); i = next++) {
      const ArtResource& r = *work[i];
      try {
        ArtStrip strip(r.width, r.frameHeight, r.frames);
        r.paint(ctx, strip);
        const std::string path = opt.out + "/" + std::to_string(r.id) + "_" + r.name + ".png";
        const std::string e = WriteRgbaPng(path, strip.Width(), strip.Height(), strip.Rgba().data());
        if (!e.empty()) throw std::runtime_error(e);
      } catch (const std::exception& e) {
        std::lock_guard<std::mutex> lock(errorLock);
        errors.push_back(std::to_string(r.id) + ": " + e.what());
      }
    }
  };
  std::vector<std::thread> threads;
  for (int t = 1; t < opt.jobs; ++t) threads.emplace_back(worker);
  worker();
  for (auto& t : threads) t.join();

  cairo_surface_destroy(ctx.background);
  cairo_surface_destroy(ctx.plateGround);
  FreeArtFonts();
  for (const auto& e : errors) std::fprintf(stderr, "tarvo-art: %s\n", e.c_str());
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf("tarvo-art: %zu resources in %.2f s\n", work.size(), seconds);
  return errors.empty() ? 0 : 1;
}
