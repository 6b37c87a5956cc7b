#pragma once

#include <QObject>
#include <QPointer>
#include <QUrl>
#include <memory>
#include <vector>

#include "app/main/main_screen_state.h"
#include "model/embosser_load.h"
#include "platform/geometry.h"
#include "platform/image.h"
#include "platform/photo_metadata.h"
#include "ui/application.h"

namespace lumigrave {

namespace ui {
class NavigationController;
class Window;
}  // namespace ui
class ActivityOverlay;
class RootViewController;

// The preference keys, all seeded on the first launch only.
inline const QString kLaunchedKey = QStringLiteral("Launched");
inline const QString kRequestRateCountdownKey = QStringLiteral("RequestRateCountdown");
inline const QString kMaxOutputPixKey = QStringLiteral("MaxOutputPix");
inline const QString kOperatingModeKey = QStringLiteral("OperatingMode");
inline const QString kLastUsedEmbosserKey = QStringLiteral("LastUsedEmbosser");
inline const QString kHideActivityViewNotification = QStringLiteral("HideActivityViewNotification");

// The process's one shared object: it starts the application, holds the photo in its
// three stages, the presets and the active one, offers the output sizes, owns the
// activity overlay and counts down to the rating prompt.
class AppDelegate : public QObject, public ui::ApplicationDelegate {
    Q_OBJECT
  public:
    AppDelegate();
    ~AppDelegate() override;
    // The application's delegate; null before one is made.
    static AppDelegate* shared();

    // Application callbacks.
    bool didFinishLaunching() override;
    void didBecomeActive() override;
    void didEnterBackground() override;
    void willTerminate() override;
    bool openURL(const QUrl& url) override;
    void filesDropped(const QList<QUrl>& urls) override;

    // The launch's steps, in their order. The demo photo's relief is rendered at the
    // screen's scale, which until the window shows is the primary display's.
    virtual QString appDatabasePath() const;
    virtual void seedAppDatabase();
    virtual void seedPreferences();
    virtual void detectBackgroundSupport();
    virtual void loadEmbossers();
    virtual void initDemoImage();
    virtual void registerForActivityNotification();
    void deregisterForActivityNotification();
    virtual void configureSharing();
    virtual void createWindow();
    virtual void testOffline();

    ui::Window* window() const { return window_.get(); }
    ui::NavigationController* navigationController() const { return navigationController_.get(); }
    RootViewController* rootViewController() const;
    // The overlay of lengthy work, and the view it shows; null before it is first shown.
    ActivityOverlay* overlay() const;
    QWidget* activityView() const;
    bool backgroundSupported() const { return backgroundSupported_; }

    const Image& originalImage() const { return originalImage_; }
    void setOriginalImage(const Image& image) { originalImage_ = image; }
    // The metadata of the file originalImage came from, for what leaves the application.
    const PhotoMetadata& originalMetadata() const { return originalMetadata_; }
    void setOriginalMetadata(const PhotoMetadata& metadata) { originalMetadata_ = metadata; }
    const Image& activeImage() const { return activeImage_; }
    void setActiveImage(const Image& image) { activeImage_ = image; }
    const Image& embossedImage() const { return embossedImage_; }
    void setEmbossedImage(const Image& image) { embossedImage_ = image; }

    std::vector<std::unique_ptr<Embosser>>& embossers() { return presets_.embossers; }
    Embosser* activeEmbosser() const { return presets_.activeEmbosser; }
    void setActiveEmbosser(Embosser* embosser) { presets_.activeEmbosser = embosser; }

    // The output sizes offered for originalImage: its own size, then the fixed sizes
    // that fit in it; empty when none does.
    std::vector<Size> maxOutputSizes() const;
    int matchedIndexForOutputSize(qint64 length) const;

    void showActivityView(const QString& message);
    void hideActivityView();

    bool handleOpenURL(const QUrl& url);
    // Renders the watermark again at the screen's new scale; the main window tells when
    // it is shown on, or moved to, a display of another ratio.
    void renderForNewScale();
    // One step of the rating countdown.
    void saveData();

  private:
    std::unique_ptr<ui::Window> window_;
    std::unique_ptr<ui::NavigationController> navigationController_;
    std::unique_ptr<ActivityOverlay> activityView_;
    bool backgroundSupported_ = false;
    MainScreenState mainScreenState_;
    Image originalImage_;
    PhotoMetadata originalMetadata_;
    Image activeImage_;
    Image embossedImage_;
    EmbosserList presets_;
    // The preset used when the database gives none, so nothing renders without one.
    std::unique_ptr<Embosser> fallbackEmbosser_;
};

}  // namespace lumigrave
