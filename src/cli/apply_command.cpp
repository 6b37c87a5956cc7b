#include "cli/apply_command.h"

#include <unistd.h>

#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <atomic>
#include <thread>
#include <vector>

#include "cli/apply_options.h"
#include "cli/presets.h"
#include "cli/progress.h"
#include "cli/watermark_job.h"
#include "platform/image_loader.h"
#include "platform/paths.h"
#include "platform/screen.h"
#include "render/emboss_composer.h"

namespace lumigrave::cli {

namespace {

// Sets one field through the preset's setter and says so when the setter replaced the
// value with its fallback.
template <typename Value, typename Setter, typename Getter>
void setField(Embosser& e, const std::optional<Value>& value, Setter set, Getter get,
              const char* option, QTextStream& err) {
    if (!value) {
        return;
    }
    (e.*set)(*value);
    if ((e.*get)() != *value) {
        err << "warning: " << option << " " << *value << " is out of range; using " << (e.*get)()
            << "\n";
    }
}

bool anyPresetField(const ApplyOptions& o) {
    return o.text || o.fontName || o.widthRatio || o.opacity || o.angle || o.layoutType ||
           o.marginHorizontal;
}

std::optional<Embosser> choosePreset(const ApplyOptions& o, const QString& databasePath,
                                     QTextStream& err) {
    EmbosserList list;
    Embosser preset;
    if (loadPresets(databasePath, list, err)) {
        if (o.presetPosition) {
            if (size_t(*o.presetPosition) >= list.embossers.size()) {
                err << "There is no preset at position " << *o.presetPosition << "; there are "
                    << list.embossers.size() << ".\n";
                return std::nullopt;
            }
            preset = list.embossers[size_t(*o.presetPosition)]->copy();
        } else {
            preset = list.activeEmbosser->copy();
        }
    } else if (o.presetPosition || !anyPresetField(o)) {
        return std::nullopt;
    } else {
        err << "warning: starting from the default preset\n";
    }
    setField(preset, o.text, &Embosser::setText, &Embosser::text, "--text", err);
    setField(preset, o.fontName, &Embosser::setFont_name, &Embosser::font_name, "--font", err);
    setField(preset, o.widthRatio, &Embosser::setWidth_ratio, &Embosser::width_ratio,
             "--width-ratio", err);
    setField(preset, o.opacity, &Embosser::setOpacity, &Embosser::opacity, "--opacity", err);
    setField(preset, o.angle, &Embosser::setText_angle, &Embosser::text_angle, "--angle", err);
    setField(preset, o.layoutType, &Embosser::setLayoutType, &Embosser::layoutType, "--layout",
             err);
    setField(preset, o.marginHorizontal, &Embosser::setMarginHorizontal,
             &Embosser::marginHorizontal, "--margins", err);
    setField(preset, o.marginVertical, &Embosser::setMarginVertical, &Embosser::marginVertical,
             "--margins", err);
    return preset;
}

struct Task {
    QString input;
    QString output;
    QString refusal;  // set when the task is refused before any work
};

std::vector<Task> planTasks(const ApplyOptions& o) {
    const QDir directory(o.outputDirectory);
    const QString extension = extensionForFormat(o.format);
    std::vector<Task> tasks;
    QSet<QString> outputs;
    for (const QString& input : o.files) {
        Task task{input, directory.filePath(QFileInfo(input).completeBaseName() + "." + extension),
                  QString()};
        if (outputs.contains(task.output)) {
            task.refusal =
                QStringLiteral("another photo of this batch is written to %1").arg(task.output);
        }
        outputs.insert(task.output);
        tasks.push_back(task);
    }
    return tasks;
}

}  // namespace

int runApply(const ApplyOptions& o, const QString& databasePath, QTextStream& out,
             QTextStream& err) {
    Q_UNUSED(out);
    Screen::setMainScreenScale(o.screenScale);
    const std::optional<Embosser> embosser = choosePreset(o, databasePath, err);
    if (!embosser) {
        return 1;
    }
    if (!QDir().mkpath(o.outputDirectory)) {
        err << "The folder " << o.outputDirectory << " cannot be created.\n";
        return 1;
    }

    const std::vector<Task> tasks = planTasks(o);
    const JobSettings settings{&*embosser, o.outputLength, o.rotate, o.format,
                               o.quality,  o.overwrite,    o.keepGps};
    Progress progress(err, int(tasks.size()), isatty(STDERR_FILENO));
    std::atomic<size_t> next{0};
    auto work = [&] {
        for (size_t i = next++; i < tasks.size(); i = next++) {
            const Task& task = tasks[i];
            const JobResult result = task.refusal.isEmpty()
                                         ? watermarkPhoto(task.input, task.output, settings)
                                         : JobResult{false, task.refusal};
            progress.finished(task.input, result.written, result.message);
        }
    };
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    const size_t workers = std::min<size_t>(o.jobs > 0 ? size_t(o.jobs) : cores, tasks.size());
    std::vector<std::thread> threads;
    for (size_t i = 1; i < workers; ++i) {
        threads.emplace_back(work);
    }
    work();
    for (std::thread& t : threads) {
        t.join();
    }
    progress.summary();
    return progress.failed() == 0 ? 0 : 1;
}

int runDemo(const QString& databasePath, QTextStream& out, QTextStream& err) {
    EmbosserList list;
    if (!loadPresets(databasePath, list, err)) {
        return 1;
    }
    const ImageLoader::Result demo =
        ImageLoader::loadResource(QStringLiteral("images/water-lake@2x"), QStringLiteral("JPG"));
    if (!demo.ok()) {
        err << "The demo photo cannot be loaded: " << demo.message << "\n";
        return 1;
    }
    const Image embossed =
        EmbossComposer::embossedImageForEmbosser(*list.activeEmbosser, demo.image);
    const QString album = Paths::photoAlbumDirectory();
    if (embossed.isNull() || album.isEmpty()) {
        err << "The demo photo cannot be watermarked.\n";
        return 1;
    }
    const QString path = QDir(album).filePath(QStringLiteral("lumigrave-demo.jpg"));
    QString error;
    if (!embossed.save(path, "jpeg", 90, &error)) {
        err << path << " cannot be written: " << error << "\n";
        return 1;
    }
    out << path << "\n";
    return 0;
}

}  // namespace lumigrave::cli
