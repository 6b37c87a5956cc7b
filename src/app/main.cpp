// lumigrave: the application. A second start hands its URLs (a login's return, photos
// opened with it) to the running instance and exits.
#include <QApplication>
#include <QCommandLineParser>
#include <QGuiApplication>

#include "app/app_delegate.h"
#include "app/store_link.h"
#include "platform/bundle.h"
#include "platform/font_registry.h"
#include "platform/image_loader.h"
#include "platform/screen.h"
#include "ui/application.h"
#include "ui/window.h"

namespace {

// "--screen WxH": the window's size in points.
bool parseScreen(const QString& value, lumigrave::Size* size) {
    QStringList parts = value.toLower().split(QLatin1Char('x'));
    bool okW = false;
    bool okH = false;
    if (parts.size() != 2) {
        return false;
    }
    int w = parts[0].toInt(&okW);
    int h = parts[1].toInt(&okH);
    if (!okW || !okH || w < 240 || h < 320 || w > 8192 || h > 8192) {
        return false;
    }
    *size = lumigrave::Size{float(w), float(h)};
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    // The authorization pages' web engine shares its contexts with the application's; the
    // attribute counts only before the application object exists.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication qapp(argc, argv);
    QApplication::setApplicationName(lumigrave::Bundle::infoValue(QStringLiteral("CFBundleName")));
    QApplication::setApplicationDisplayName(
        lumigrave::Bundle::infoValue(QStringLiteral("CFBundleDisplayName")));
    QApplication::setApplicationVersion(
        lumigrave::Bundle::infoValue(QStringLiteral("CFBundleVersion")));
    QGuiApplication::setDesktopFileName(lumigrave::kStoreAppId);

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Glass-like photo watermarks."));
    parser.addHelpOption();
    parser.addVersionOption();
    QCommandLineOption screen(QStringLiteral("screen"),
                              QStringLiteral("Open the window at WxH points (default 400x700)."),
                              QStringLiteral("WxH"));
    parser.addOption(screen);
    parser.addPositionalArgument(QStringLiteral("url"), QStringLiteral("Photos or URLs to open."),
                                 QStringLiteral("[url...]"));
    parser.process(qapp);

    if (parser.isSet(screen)) {
        lumigrave::Size size;
        if (!parseScreen(parser.value(screen), &size)) {
            qCritical("--screen wants a size such as 400x700, from 240x320 up");
            return 2;
        }
        lumigrave::Screen::setBounds(size);
    }
    if (lumigrave::ui::Application::forwardToRunningInstance(parser.positionalArguments())) {
        return 0;
    }

    lumigrave::ImageLoader::installAllocationLimit();
    lumigrave::FontRegistry::registerBundledFonts();
    lumigrave::StoreLinkHandler storeLinks;
    lumigrave::AppDelegate delegate;
    lumigrave::ui::Application application(&delegate);
    application.listen();
    QObject::connect(&application, &lumigrave::ui::Application::activationRequested, [&delegate] {
        if (lumigrave::ui::Window* window = delegate.window()) {
            window->showNormal();
            window->raise();
            window->activateWindow();
        }
    });
    QObject::connect(&qapp, &QCoreApplication::aboutToQuit, &application,
                     &lumigrave::ui::Application::terminate);
    application.launch();
    for (const QUrl& url :
         lumigrave::ui::Application::urlsFromArguments(parser.positionalArguments())) {
        application.handleOpenURL(url);
    }
    return qapp.exec();
}
