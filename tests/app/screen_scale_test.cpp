// The launch on a screen of device pixel ratio 2: the demo photo's relief is rendered at
// the screen's scale from the first render on. This binary runs with QT_SCALE_FACTOR=2,
// set before its main() makes the application.
#include <QGuiApplication>
#include <QScreen>

#include "app_fixture.h"
#include "platform/screen.h"
#include "render/emboss_composer.h"
#include "ui/window.h"

namespace {
// Static initialisation runs before main(), so the application starts scaled.
const bool kScaled = qputenv("QT_SCALE_FACTOR", "2");
}  // namespace

namespace lumigrave::test {
namespace {

class ScreenScaleTest : public AppTest {
  protected:
    // The photo watermarked anew at a scale.
    Image renderedAt(float scale) {
        const float before = Screen::mainScreenScale();
        Screen::setMainScreenScale(scale);
        Image image =
            EmbossComposer::embossedImageForEmbosser(*app().activeEmbosser(), app().activeImage());
        Screen::setMainScreenScale(before);
        return image;
    }
};

TEST_F(ScreenScaleTest, TheLaunchRendersTheReliefAtTheScreensScale) {
    ASSERT_TRUE(kScaled);
    ASSERT_EQ(QGuiApplication::primaryScreen()->devicePixelRatio(), 2.0)
        << "QT_SCALE_FACTOR=2 did not reach the application";
    launch();
    EXPECT_FLOAT_EQ(Screen::mainScreenScale(), 2);
    EXPECT_EQ(app().window()->devicePixelRatioF(), 2.0);

    const QImage atOne = renderedAt(1).pixels();
    const QImage atTwo = renderedAt(2).pixels();
    // The two scales give different pictures, or this test would show nothing.
    ASSERT_NE(atOne, atTwo);
    EXPECT_EQ(app().embossedImage().pixels(), atTwo);
    EXPECT_EQ(EmbossComposer::embossedTextForEmbosser(*app().activeEmbosser(), app().activeImage())
                  .scale(),
              2);
}

}  // namespace
}  // namespace lumigrave::test
