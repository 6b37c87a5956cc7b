#include <benchmark/benchmark.h>

#include <cstring>
#include <map>
#include <vector>

#include "bench_photos.h"
#include "model/layout_type.h"
#include "platform/cpu_features.h"
#include "render/emboss_composer.h"
#include "render/overlay_blend.h"

namespace lumigrave::bench {

const QImage& photoOfSize(int width, int height) {
    static std::map<std::pair<int, int>, QImage> photos;
    QImage& photo = photos[{width, height}];
    if (photo.isNull()) {
        photo = QImage(width, height, QImage::Format_RGB32);
        for (int y = 0; y < height; ++y) {
            auto* row = reinterpret_cast<QRgb*>(photo.scanLine(y));
            for (int x = 0; x < width; ++x) {
                const int texture = ((x * 7 + y * 13) % 17) - 8;
                row[x] = qRgb(qBound(0, 255 * x / width + texture, 255),
                              qBound(0, 255 * y / height - texture, 255),
                              qBound(0, 96 + ((x ^ y) & 63) + texture, 255));
            }
        }
    }
    return photo;
}

namespace {

Image photo(const benchmark::State& state) {
    return Image(photoOfSize(widthFor(state.range(0)), heightFor(state.range(0))));
}

Embosser preset(bool tiled) {
    Embosser e;
    e.setText_angle(30);
    if (tiled) {
        e.setLayoutType(kLayoutTileParallel);
        e.setWidth_ratio(0.25f);
        e.setMarginHorizontal(0.05f);
        e.setMarginVertical(0.08f);
    }
    return e;
}

// Sets the vector-kernel switch for one benchmark and puts it back.
class VectorKernels {
  public:
    explicit VectorKernels(bool allowed) : previous_(cpu::vectorKernelsAllowed()) {
        cpu::setVectorKernelsAllowed(allowed);
    }
    ~VectorKernels() { cpu::setVectorKernelsAllowed(previous_); }

  private:
    bool previous_;
};

void pixelsProcessed(benchmark::State& state) {
    state.counters["Mpx/s"] =
        benchmark::Counter(double(widthFor(state.range(0))) * heightFor(state.range(0)) *
                               double(state.iterations()) / 1e6,
                           benchmark::Counter::kIsRate);
}

void Relief(benchmark::State& state) {
    const Image p = photo(state);
    const Embosser e = preset(false);
    for (auto _ : state) {
        benchmark::DoNotOptimize(EmbossComposer::embossedTextForEmbosser(e, p));
    }
}

void TileCanvas(benchmark::State& state) {
    const Image p = photo(state);
    const Embosser e = preset(true);
    const Image relief = EmbossComposer::embossedTextForEmbosser(e, p);
    for (auto _ : state) {
        benchmark::DoNotOptimize(EmbossComposer::tiledImageForEmbosser(e, p, relief));
    }
}

// The third argument turns the vector kernels (blend and sampler) off, for the ratio of
// the two paths on this machine.
void Composite(benchmark::State& state) {
    const Image p = photo(state);
    const Embosser e = preset(state.range(1) != 0);
    const Image relief = EmbossComposer::embossedTextForEmbosser(e, p);
    const VectorKernels kernels(state.range(2) != 0);
    for (auto _ : state) {
        benchmark::DoNotOptimize(EmbossComposer::embossedImageForEmbosser(e, p, relief));
    }
    pixelsProcessed(state);
}

// As the command line runs it: the photo handed over and blended in its own pixels.
void CompositeInPlace(benchmark::State& state) {
    const Image p = photo(state);
    const Embosser e = preset(state.range(1) != 0);
    const Image relief = EmbossComposer::embossedTextForEmbosser(e, p);
    Image result;
    for (auto _ : state) {
        // Handing back the last result's memory and making a fresh photo are not part of
        // the step, as the copy's floor allocates nothing either.
        state.PauseTiming();
        result = Image();
        Image own(p.pixels().copy());
        state.ResumeTiming();
        result = EmbossComposer::embossedImageForEmbosser(e, std::move(own), relief);
        benchmark::DoNotOptimize(result);
    }
    pixelsProcessed(state);
}

void OneStep(benchmark::State& state) {
    const Image p = photo(state);
    const Embosser e = preset(state.range(1) != 0);
    for (auto _ : state) {
        benchmark::DoNotOptimize(EmbossComposer::embossedImageForEmbosser(e, p));
    }
    pixelsProcessed(state);
}

// The blend alone, over a backdrop that is nowhere mid-grey: the worst case, where
// every pixel is worked.
void OverlayKernel(benchmark::State& state) {
    const QImage& p = photoOfSize(widthFor(state.range(0)), heightFor(state.range(0)));
    std::vector<uint8_t> backdrop(size_t(p.width()));
    for (size_t x = 0; x < backdrop.size(); ++x) {
        backdrop[x] = uint8_t(60 + x % 130);
    }
    QImage out(p.size(), QImage::Format_RGB32);
    const VectorKernels kernels(state.range(1) != 0);
    for (auto _ : state) {
        for (int y = 0; y < p.height(); ++y) {
            overlayRow(reinterpret_cast<const QRgb*>(p.constScanLine(y)), backdrop.data(),
                       reinterpret_cast<QRgb*>(out.scanLine(y)), p.width());
        }
        benchmark::ClobberMemory();
    }
    pixelsProcessed(state);
}

// The floor the composite is measured against: copying the photo's pixels once.
void MemoryCopy(benchmark::State& state) {
    const QImage& p = photoOfSize(widthFor(state.range(0)), heightFor(state.range(0)));
    std::vector<uint8_t> target(size_t(p.sizeInBytes()));
    for (auto _ : state) {
        std::memcpy(target.data(), p.constBits(), target.size());
        benchmark::ClobberMemory();
    }
    pixelsProcessed(state);
}

#ifdef NDEBUG
constexpr double kMinTime = 0.5;
#else
constexpr double kMinTime = 0.01;  // debug builds: just show they run
#endif

BENCHMARK(Relief)->Arg(12)->Arg(24)->Unit(benchmark::kMillisecond)->MinTime(kMinTime);
BENCHMARK(TileCanvas)->Arg(12)->Arg(24)->Unit(benchmark::kMillisecond)->MinTime(kMinTime);
BENCHMARK(Composite)
    ->ArgsProduct({{12, 24}, {0, 1}, {1, 0}})
    ->ArgNames({"MP", "tiled", "vector"})
    ->Unit(benchmark::kMillisecond)
    ->MinTime(kMinTime);
BENCHMARK(CompositeInPlace)
    ->ArgsProduct({{12, 24}, {0, 1}})
    ->ArgNames({"MP", "tiled"})
    ->Unit(benchmark::kMillisecond)
    ->MinTime(kMinTime);
BENCHMARK(OneStep)
    ->ArgsProduct({{12, 24}, {0, 1}})
    ->ArgNames({"MP", "tiled"})
    ->Unit(benchmark::kMillisecond)
    ->MinTime(kMinTime);
BENCHMARK(OverlayKernel)
    ->ArgsProduct({{12, 24}, {1, 0}})
    ->ArgNames({"MP", "vector"})
    ->Unit(benchmark::kMillisecond)
    ->MinTime(kMinTime);
BENCHMARK(MemoryCopy)->Arg(12)->Arg(24)->Unit(benchmark::kMillisecond)->MinTime(kMinTime);

}  // namespace
}  // namespace lumigrave::bench
