// File to file: lumigrave-cli apply on a JPEG against a plain decode and encode of the
// same photo with the same settings, the floor the whole run can approach.
#include <benchmark/benchmark.h>

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QProcess>
#include <QTemporaryDir>

#include "bench_photos.h"

namespace lumigrave::bench {
namespace {

QTemporaryDir& workDir() {
    static QTemporaryDir dir;
    return dir;
}

QString jpegOfSize(int64_t megapixels) {
    const QString path = workDir().filePath(QStringLiteral("photo-%1mp.jpg").arg(megapixels));
    if (!QFileInfo::exists(path)) {
        QImageWriter writer(path, "jpeg");
        writer.setQuality(90);
        writer.write(photoOfSize(widthFor(megapixels), heightFor(megapixels)));
    }
    return path;
}

void JpegTranscode(benchmark::State& state) {
    const QString input = jpegOfSize(state.range(0));
    for (auto _ : state) {
        QImageReader reader(input);
        const QImage image = reader.read();
        QBuffer out;
        out.open(QIODevice::WriteOnly);
        QImageWriter writer(&out, "jpeg");
        writer.setQuality(90);
        writer.write(image);
        benchmark::DoNotOptimize(out.size());
    }
}

void CliApply(benchmark::State& state) {
    const QString input = jpegOfSize(state.range(0));
    const QString output = workDir().filePath(QStringLiteral("out"));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOME"), workDir().filePath(QStringLiteral("home")));
    const QStringList layout = state.range(1)
                                   ? QStringList{"--layout", "tile-parallel", "--margins", "0.05",
                                                 "0.08",     "--width-ratio", "0.25"}
                                   : QStringList{"--layout", "center"};
    for (auto _ : state) {
        QProcess process;
        process.setProcessEnvironment(environment);
        process.start(
            QStringLiteral(LUMIGRAVE_CLI),
            QStringList{"apply", "--angle", "30", "--quality", "90", "--jobs", "1", "--overwrite"} +
                layout + QStringList{input, "-o", output});
        process.waitForFinished(-1);
        if (process.exitCode() != 0) {
            state.SkipWithError("lumigrave-cli apply failed");
            break;
        }
    }
}

BENCHMARK(JpegTranscode)->Arg(12)->Arg(24)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(CliApply)
    ->ArgsProduct({{12, 24}, {0, 1}})
    ->ArgNames({"MP", "tiled"})
    ->Unit(benchmark::kMillisecond)
    ->MinTime(1.0);

}  // namespace
}  // namespace lumigrave::bench
