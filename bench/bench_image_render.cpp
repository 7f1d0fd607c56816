// Text to image as the user runs it: a page of Japanese text rendered into a
// 2000 × 2000 image and written as PNG (the two halves apart and together),
// and a continuous conversion of 1000 short lines to PNG, in process (into
// memory) and as a whole kervtext-render process writing real files.

#include <benchmark/benchmark.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QGuiApplication>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "bench/BenchData.h"
#include "image/TImageFileWriter.h"
#include "image/qt/TVuvEConverter.h"
#include "image/qt/TVuvERenderer.h"
#include "platform/fake/FakeFileSystem.h"
#include "platform/posix/IconvCodePage.h"

namespace kerv {
namespace {

constexpr int kDpi = 96;

TVuvESettings PageSettings() {
  TVuvESettings s;
  s.SizeSetType = TVuvESizeMode::Given;
  s.SizeX = 2000;
  s.SizeY = 2000;
  s.LeftMargin = s.TopMargin = s.RightMargin = s.BottomMargin = 40;
  s.FillMargin = true;
  s.FillColor = 0xE0E0E0;
  s.Font.Name = "VL Gothic";
  s.Font.Size = 16;
  return s;
}

// About one page: 80 lines of 100 bytes.
const std::string& Page() {
  static const std::string page = bench::JapaneseText(8000, 100);
  return page;
}

void BM_RenderPage_2000x2000(benchmark::State& state) {
  IconvCodePage codePage;
  FakeFileSystem fs;
  TVuvEConverter converter(fs, codePage, PageSettings(), kDpi);
  const TPreparedText prepared = PrepareText(Page());
  const QString text = converter.ToText(prepared.text);
  TRasterImage image(2000, 2000, TPixelFormat::Rgb24);
  for (auto _ : state) {
    converter.Renderer().RenderInto(image, text, prepared.singleLine, nullptr);
    benchmark::DoNotOptimize(image.Bits());
  }
}

void BM_RenderAndWritePng_2000x2000(benchmark::State& state) {
  IconvCodePage codePage;
  FakeFileSystem fs;
  fs.AddFolder("/out");
  TImageFileWriter writer(fs);
  size_t bytes = 0;
  for (auto _ : state) {
    TVuvEConverter converter(fs, codePage, PageSettings(), kDpi);
    const TRasterImage image = converter.RenderSingle(Page());
    writer.Save("/out/page.png", image, TImageEncoding::Png, 50);
    bytes = fs.FileSize("/out/page.png");
  }
  state.counters["file kB"] = static_cast<double>(bytes) / 1e3;
}

void BM_RenderAndWriteJpeg_2000x2000(benchmark::State& state) {
  IconvCodePage codePage;
  FakeFileSystem fs;
  fs.AddFolder("/out");
  TImageFileWriter writer(fs);
  for (auto _ : state) {
    TVuvEConverter converter(fs, codePage, PageSettings(), kDpi);
    writer.Save("/out/page.jpg", converter.RenderSingle(Page()), TImageEncoding::Jpeg, 50);
  }
}

// 1000 short lines of 20 to 40 bytes.
const std::string& ShortLines() {
  static const std::string lines = [] {
    std::string text;
    const std::string source = bench::JapaneseText(40000, 30);
    size_t start = 0;
    for (int n = 0; n < 1000 && start < source.size(); ++n) {
      const size_t end = source.find("\r\n", start);
      text += source.substr(start, end - start) + "\r\n";
      start = end + 2;
    }
    return text;
  }();
  return lines;
}

void BM_Continuous1000Lines_InProcess(benchmark::State& state) {
  IconvCodePage codePage;
  FakeFileSystem fs;
  fs.AddFolder("/out");
  TVuvESettings s;
  s.Font.Name = "VL Gothic";
  s.Font.Size = 16;
  s.CntCnv = true;
  s.CntCnv_Foldor = "/out";
  s.CntCnv_FileName = "line";
  s.CntCnv_FileType = 4;
  s.FirstLine = 1;
  s.LastLine = 1000;
  int written = 0;
  for (auto _ : state) {
    TVuvEConverter converter(fs, codePage, s, kDpi);
    TImageFileWriter writer(fs);
    written = converter.ConvertEachLine(ShortLines(), writer, [] { return 50; });
  }
  state.counters["images"] = written;
  state.counters["images/s"] = benchmark::Counter(written, benchmark::Counter::kIsIterationInvariantRate);
}

#ifdef KERVTEXT_RENDER_PATH
void BM_Continuous1000Lines_WholeProcess(benchmark::State& state) {
  const std::filesystem::path dir = std::filesystem::temp_directory_path() / ("kerv-bench-" + std::to_string(getpid()));
  std::filesystem::create_directories(dir / "out");
  // Also Qt's runtime folder, which must be the owner's alone.
  std::filesystem::permissions(dir, std::filesystem::perms::owner_all);
  std::ofstream(dir / "lines.txt", std::ios::binary) << ShortLines();
  std::ofstream(dir / "s.tg2", std::ios::binary)
      << "[VuvESettings]\r\nMatchType=1\r\nFontName=VL Gothic\r\nFontSize=16\r\nCntCnv_FileName=line\r\n";
  const std::string command =
      "XDG_RUNTIME_DIR=" + dir.string() + " " KERVTEXT_RENDER_PATH " image --each-line --format png --settings " +
      (dir / "s.tg2").string() + " " + (dir / "lines.txt").string() + " " + (dir / "out").string();
  for (auto _ : state) {
    const int status = std::system(command.c_str());
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) state.SkipWithError("kervtext-render failed");
  }
  state.counters["files"] = static_cast<double>(
      std::distance(std::filesystem::directory_iterator(dir / "out"), std::filesystem::directory_iterator()));
  std::filesystem::remove_all(dir);
}
BENCHMARK(BM_Continuous1000Lines_WholeProcess)->Unit(benchmark::kMillisecond)->Iterations(3);
#endif

BENCHMARK(BM_RenderPage_2000x2000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RenderAndWritePng_2000x2000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RenderAndWriteJpeg_2000x2000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Continuous1000Lines_InProcess)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kerv

int main(int argc, char** argv) {
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
