// Pictures of a full-HD screen: quantising to the 16 colours and encoding as GIF and as JPEG,
// and encoding at full colour as PNG (each should stay under 300 ms). Two contents: a chart (few
// colours in long runs, the usual case) and a colour ramp where every pixel differs (the
// quantiser's worst case).

#include <benchmark/benchmark.h>

#include <optional>
#include <vector>

#include "app/picencode.h"
#include "app/picture.h"

namespace {

constexpr int32_t kW = 1920;
constexpr int32_t kH = 1080;

// A chart on the frame window's colour: a grid, three curves and a legend box.
std::vector<uint32_t> ChartPixels() {
  std::vector<uint32_t> px(size_t(kW) * kH, 0xFFADF3A3);
  for (int32_t y = 0; y < kH; ++y)
    for (int32_t x = 0; x < kW; ++x) {
      uint32_t& p = px[size_t(y) * kW + size_t(x)];
      if (x % 96 == 0 || y % 54 == 0) p = 0xFF808080;
      const int32_t c1 = kH / 2 + int32_t(300.0 * (x % 480) / 480.0) - 150;
      if (y == c1 || y == c1 + 1) p = 0xFFFF0000;
      if (y == (x * kH) / kW) p = 0xFF0000FF;
      if (x > 1500 && x < 1800 && y > 60 && y < 200) p = 0xFFFFFFFF;
    }
  return px;
}

// Every pixel a different colour.
std::vector<uint32_t> RampPixels() {
  std::vector<uint32_t> px(size_t(kW) * kH);
  for (int32_t y = 0; y < kH; ++y)
    for (int32_t x = 0; x < kW; ++x)
      px[size_t(y) * kW + size_t(x)] = 0xFF000000u | uint32_t(x * 255 / kW) << 16 |
                                       uint32_t(y * 255 / kH) << 8 | uint32_t((x + y) & 0xFF);
  return px;
}

// The frame window's colour, not one of the 16 standard ones: it takes the entry of the least
// used colour, which costs one more pass over the pixels.
constexpr uint32_t kFrameBackground = 0xADF3A3;

void Run(benchmark::State& state, const std::vector<uint32_t>& px, int32_t type,
         std::optional<uint32_t> background = {}) {
  const qz::TTrueImage img = qz::TrueImageOf(px.data(), kW, kH, kW);
  for (auto _ : state) {
    // The 16-colour types quantise inside.
    QByteArray out;
    QString err;
    if (!qz::EncodePicture(img, type, out, err, background)) state.SkipWithError("encoding failed");
    benchmark::DoNotOptimize(out.data());
    state.counters["bytes"] = double(out.size());
  }
}

void BM_QuantiseChart(benchmark::State& state) {
  const std::vector<uint32_t> px = ChartPixels();
  for (auto _ : state) benchmark::DoNotOptimize(qz::Quantize16(px.data(), kW, kH, kW));
}
void BM_QuantiseRamp(benchmark::State& state) {
  const std::vector<uint32_t> px = RampPixels();
  for (auto _ : state) benchmark::DoNotOptimize(qz::Quantize16(px.data(), kW, kH, kW));
}
void BM_QuantiseChartBackground(benchmark::State& state) {
  const std::vector<uint32_t> px = ChartPixels();
  const qz::TTrueImage img = qz::TrueImageOf(px.data(), kW, kH, kW);
  for (auto _ : state) benchmark::DoNotOptimize(qz::Quantize16(img, kFrameBackground));
}
void BM_QuantiseRampBackground(benchmark::State& state) {
  const std::vector<uint32_t> px = RampPixels();
  const qz::TTrueImage img = qz::TrueImageOf(px.data(), kW, kH, kW);
  for (auto _ : state) benchmark::DoNotOptimize(qz::Quantize16(img, kFrameBackground));
}
void BM_GifChartBackground(benchmark::State& state) {
  Run(state, ChartPixels(), qz::kPicGif, kFrameBackground);
}
void BM_GifRampBackground(benchmark::State& state) {
  Run(state, RampPixels(), qz::kPicGif, kFrameBackground);
}
void BM_GifChart(benchmark::State& state) { Run(state, ChartPixels(), qz::kPicGif); }
void BM_JpegChart(benchmark::State& state) { Run(state, ChartPixels(), qz::kPicJpeg); }
void BM_GifRamp(benchmark::State& state) { Run(state, RampPixels(), qz::kPicGif); }
void BM_JpegRamp(benchmark::State& state) { Run(state, RampPixels(), qz::kPicJpeg); }
void BM_BmpChart(benchmark::State& state) { Run(state, ChartPixels(), qz::kPicBmp); }
void BM_PngChart(benchmark::State& state) { Run(state, ChartPixels(), qz::kPicPng); }
void BM_PngRamp(benchmark::State& state) { Run(state, RampPixels(), qz::kPicPng); }

BENCHMARK(BM_QuantiseChart)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QuantiseRamp)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GifChart)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_JpegChart)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GifRamp)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_JpegRamp)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BmpChart)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PngChart)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PngRamp)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QuantiseChartBackground)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QuantiseRampBackground)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GifChartBackground)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GifRampBackground)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
