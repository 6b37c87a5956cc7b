// The font and layout editors' costs, on the same 400 × 700 point window at scale 2 as the
// size editor's benchmark: building the list of every installed font with 300 faces
// installed (from the font registry's catalogue, and with the catalogue read again after a
// change of the installed fonts), and opening each editor up to its first preview for an
// 800-point photo. The row views are widgets and are left out: a wheel makes three.
#include <benchmark/benchmark.h>

#include <QFile>
#include <QFontDatabase>
#include <QTemporaryDir>
#include <memory>

#include "app/editors/editor_preview.h"
#include "app/editors/font_picker_data_source.h"
#include "bench_photos.h"
#include "model/layout_type.h"
#include "platform/font_registry.h"
#include "platform/screen.h"
#include "render/emboss_composer.h"
#include "support/font_copies.h"

namespace lumigrave::bench {
namespace {

constexpr Size kPreviewArea{400, 700 - 180 - 44};
constexpr int kInstalledFaces = 300;

Image photoWithLongerSide(int64_t side) {
    return Image(photoOfSize(int(side), int(side * 3 / 4)));
}

// 300 more faces, each a renamed copy of the bundled font in a file of a temporary font
// directory, registered for the whole run.
class InstalledFaces {
  public:
    static void ensure() {
        static InstalledFaces faces;
        (void)faces;
    }

  private:
    InstalledFaces() {
        for (int i = 0; i < kInstalledFaces; ++i) {
            const QString path = dir_.filePath(QStringLiteral("copy-%1.ttf").arg(i));
            QFile file(path);
            if (!file.open(QIODevice::WriteOnly) || file.write(test::renamedBundledFont(i)) <= 0) {
                continue;
            }
            file.close();
            QFontDatabase::addApplicationFont(path);
        }
    }
    QTemporaryDir dir_;
};

void FontList(benchmark::State& state) {
    InstalledFaces::ensure();
    FontPickerDataSource::installedFontNames();  // the catalogue read once
    qsizetype rows = 0;
    for (auto _ : state) {
        const QStringList names = FontPickerDataSource::installedFontNames();
        rows = names.size();
        benchmark::DoNotOptimize(names);
    }
    state.counters["rows"] = double(rows);
}

// The same after every change of the installed fonts: the catalogue opens each face again.
void FontListAfterFontsChanged(benchmark::State& state) {
    InstalledFaces::ensure();
    const QByteArray extra = test::renamedBundledFont(999999);
    for (auto _ : state) {
        state.PauseTiming();
        QFontDatabase::removeApplicationFont(QFontDatabase::addApplicationFontFromData(extra));
        state.ResumeTiming();
        const QStringList names = FontPickerDataSource::installedFontNames();
        benchmark::DoNotOptimize(names);
    }
}

// The first list of a process: the catalogue built from nothing, names read from
// fontconfig's cache and only the faces it does not list opened.
void FontListFirstBuild(benchmark::State& state) {
    InstalledFaces::ensure();
    for (auto _ : state) {
        state.PauseTiming();
        FontRegistry::dropCatalogue();
        state.ResumeTiming();
        const QStringList names = FontPickerDataSource::installedFontNames();
        benchmark::DoNotOptimize(names);
    }
}

// What the font editor does from its view's building to its first preview: the font
// list, the fitted photo, the working copy centred and unrotated, the relief at full
// photo size, shrunk, composited.
void FontEditorOpen(benchmark::State& state) {
    InstalledFaces::ensure();
    Screen::setMainScreenScale(2);
    const Image photo = photoWithLongerSide(state.range(0));
    const Embosser active;
    for (auto _ : state) {
        const QStringList names = FontPickerDataSource::installedFontNames();
        const Image scaledImage = editor_preview::scaledPhoto(photo, kPreviewArea);
        Embosser working = active.copy();
        working.setLayoutType(kLayoutCenter);
        working.setText_angle(0);
        working.setFont_name(
            names.value(std::max<qsizetype>(0, names.indexOf(active.font_name()))));
        const Image relief = EmbossComposer::embossedTextForEmbosser(working, photo);
        const Image text = editor_preview::scaledText(working, relief, scaledImage.size());
        const Image preview = editor_preview::composite(working, scaledImage, text);
        benchmark::DoNotOptimize(preview);
    }
}

// The layout editor: the fitted photo, the relief once, shrunk, and the first composite.
void LayoutEditorOpen(benchmark::State& state) {
    Screen::setMainScreenScale(2);
    const Image photo = photoWithLongerSide(state.range(0));
    Embosser active;
    active.setLayoutType(kLayoutBottomRight);
    active.setMarginHorizontal(0.05f);
    active.setMarginVertical(0.1f);
    for (auto _ : state) {
        const Embosser working = active.copy();
        const Image scaledImage = editor_preview::scaledPhoto(photo, kPreviewArea);
        const Image relief = EmbossComposer::embossedTextForEmbosser(working, photo);
        const Image text = editor_preview::scaledText(working, relief, scaledImage.size());
        const Image preview = editor_preview::composite(working, scaledImage, text);
        benchmark::DoNotOptimize(preview);
    }
}

constexpr double kMinTime = 0.5;

BENCHMARK(FontList)->Unit(benchmark::kMillisecond)->MinTime(kMinTime);
BENCHMARK(FontListFirstBuild)->Unit(benchmark::kMillisecond)->MinTime(kMinTime);
BENCHMARK(FontListAfterFontsChanged)->Unit(benchmark::kMillisecond)->MinTime(kMinTime);
BENCHMARK(FontEditorOpen)->Arg(800)->Unit(benchmark::kMillisecond)->MinTime(kMinTime);
BENCHMARK(LayoutEditorOpen)->Arg(800)->Unit(benchmark::kMillisecond)->MinTime(kMinTime);

}  // namespace
}  // namespace lumigrave::bench
