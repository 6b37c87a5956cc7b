// The size, opacity and angle editor's costs, on a 400 × 700 point window at scale 2
// (preview area 400 × 476 points under a 44-point bar): what one slider event costs, and
// what opening the editor costs up to its first preview. The argument is the photo's
// longer side in points: 800 (the default output size) or 4000 (a 12 MP photo kept at its
// own size). The photo stage is scale 1, as the main screen makes it.
#include <benchmark/benchmark.h>

#include <array>

#include "app/editors/editor_preview.h"
#include "app/editors/opacity_view_controller.h"
#include "bench_photos.h"
#include "platform/screen.h"
#include "render/emboss_composer.h"

namespace lumigrave::bench {
namespace {

constexpr Size kPreviewArea{400, 700 - 180 - 44};

Image photoWithLongerSide(int64_t side) {
    return Image(photoOfSize(int(side), int(side * 3 / 4)));
}

struct OpenEditor {
    Embosser working;
    Image scaledImage;
    std::array<Image, 4> reliefs;
    Image scaledText;
    Image preview;
};

// What the editor does while its view is built: the fitted photo, four reliefs at full
// photo size, the shrunk one for the current ratio and the first composite.
OpenEditor open(const Image& photo) {
    Screen::setMainScreenScale(2);
    OpenEditor editor;
    editor.scaledImage = editor_preview::scaledPhoto(photo, kPreviewArea);
    const float ratio = editor.working.width_ratio();
    for (size_t i = 0; i < editor.reliefs.size(); ++i) {
        editor.working.setWidth_ratio(OpacityViewController::kCachedWidthRatios[i]);
        editor.reliefs[i] = EmbossComposer::embossedTextForEmbosser(editor.working, photo);
    }
    editor.working.setWidth_ratio(ratio);
    editor.scaledText = editor_preview::scaledText(
        editor.working, editor.reliefs[reliefCacheIndexForWidthRatio(ratio)],
        editor.scaledImage.size());
    editor.preview =
        editor_preview::composite(editor.working, editor.scaledImage, editor.scaledText);
    return editor;
}

void EditorOpen(benchmark::State& state) {
    const Image photo = photoWithLongerSide(state.range(0));
    for (auto _ : state) {
        OpenEditor editor = open(photo);
        benchmark::DoNotOptimize(editor.preview);
    }
}

// A width-ratio event: the cached relief shrunk to the new size, then the composite.
void WidthRatioEvent(benchmark::State& state) {
    OpenEditor editor = open(photoWithLongerSide(state.range(0)));
    float ratio = 0.3f;
    for (auto _ : state) {
        ratio = ratio >= 0.95f ? 0.3f : ratio + 0.01f;
        editor.working.setWidth_ratio(ratio);
        editor.scaledText = editor_preview::scaledText(
            editor.working, editor.reliefs[reliefCacheIndexForWidthRatio(ratio)],
            editor.scaledImage.size());
        editor.preview =
            editor_preview::composite(editor.working, editor.scaledImage, editor.scaledText);
        benchmark::DoNotOptimize(editor.preview);
    }
}

// An opacity or angle event: the composite alone (the angle turns the text in it).
void AngleEvent(benchmark::State& state) {
    OpenEditor editor = open(photoWithLongerSide(state.range(0)));
    float angle = 0;
    for (auto _ : state) {
        angle = angle >= 358 ? 0 : angle + 1;
        editor.working.setText_angle(angle);
        editor.preview =
            editor_preview::composite(editor.working, editor.scaledImage, editor.scaledText);
        benchmark::DoNotOptimize(editor.preview);
    }
}

constexpr double kMinTime = 0.5;

BENCHMARK(EditorOpen)->Arg(800)->Arg(4000)->Unit(benchmark::kMillisecond)->MinTime(kMinTime);
BENCHMARK(WidthRatioEvent)->Arg(800)->Arg(4000)->Unit(benchmark::kMillisecond)->MinTime(kMinTime);
BENCHMARK(AngleEvent)->Arg(800)->Arg(4000)->Unit(benchmark::kMillisecond)->MinTime(kMinTime);

}  // namespace
}  // namespace lumigrave::bench
