// Sharing to Flickr against a fake photo service that checks every signature: the login on
// the service's page and the token exchange, the upload with the form's values, a stored
// token the service no longer takes, and the posting to the person's groups.
#include "sharing/ui/flickr_sharer.h"
#include "oauth_sharer_fixture.h"
#include "sharing/ui/form_option_controller.h"
#include "support/fake_flickr_service.h"

namespace lumigrave::sharing::test {
namespace {

using lumigrave::test::FakeFlickrService;

const QString kCallback = QStringLiteral("lumigrave-test://flickr-auth");

class FakeFlickr : public DefaultShareConfigurator {
  public:
    explicit FakeFlickr(QString base) : base_(std::move(base)) {}
    QString flickrConsumerKey() const override { return QStringLiteral("flickr-key"); }
    QString flickrSecretKey() const override { return QStringLiteral("flickr-secret"); }
    QString flickrCallbackUrl() const override { return kCallback; }
    QString flickrAPIURL() const override { return base_ + "/services"; }
    QString flickrAuthURL() const override { return base_ + "/services/auth"; }
    QString flickrUploadURL() const override { return base_ + "/services/upload"; }

  private:
    QString base_;
};

class FlickrSharerTest : public OAuthSharerTest {
  protected:
    FlickrSharerTest() : flickr_(&server_) {
        flickr_.setKeys("flickr-key", "flickr-secret");
        flickr_.setCallbackUrl(kCallback);
        ShareConfiguration::sharedInstanceWithConfigurator(
            std::make_unique<FakeFlickr>(server_.url()));
    }

    QPointer<Sharer> shareToFlickr(const ShareItem& item) {
        QPointer<Sharer> sharer = Sharer::shareItem<FlickrSharer>(item);
        settle();
        return sharer;
    }
    static FlickrSharer* flickr(const QPointer<Sharer>& sharer) {
        return qobject_cast<FlickrSharer*>(sharer.data());
    }
    ShareFormController* waitForForm(const QPointer<Sharer>& sharer) {
        waitUntil([&] { return sharer.isNull() || form(sharer) != nullptr; });
        return form(sharer);
    }
    // Clicks on the Flickr page, which is an OAuthView as for the OAuth services.
    bool clickOnFlickrPage(const QPointer<Sharer>& sharer, const QString& id) {
        if (!waitUntil([&] {
                return sharer.isNull() ||
                       (flickr(sharer)->authorizationPage() != nullptr && sharer->isPresented());
            })) {
            return false;
        }
        if (sharer.isNull()) {
            return false;
        }
        lumigrave::test::WebViewDriver driver(flickr(sharer)->authorizationPage()->webView());
        // A person's click: the engine follows a link to the application's own scheme only
        // with a gesture.
        return driver.waitForElement(id) && driver.clickWithMouse(id);
    }
    void logInToFlickr() {
        ASSERT_TRUE(ShareCenter::setAuthValue(flickr_.grantToken(), FlickrSharer::kAuthTokenKey,
                                              "FlickrSharer"));
    }
    static ShareItem untitledPhoto() {
        QImage pixels(40, 30, QImage::Format_RGB32);
        pixels.fill(qRgb(10, 80, 160));
        ShareItem item = ShareItem::image(Image(pixels), QString());
        item.setTags({"a-b", "c"});
        return item;
    }
    // Opens "Post To Groups" and waits for the person's groups; null once the page is
    // gone (a new login closes it).
    FormOptionController* openGroups(ShareFormController* edit) {
        QPointer<FormOptionController> page = edit->openOptionPageForKey("postgroup", false);
        waitUntil(
            [&] { return page.isNull() || page->state() != FormOptionController::State::Loading; });
        return page;
    }

    FakeFlickrService flickr_;
};

TEST_F(FlickrSharerTest, TheFirstShareLogsInOnTheServicesPageAndUploadsWithTheFormsValues) {
    QPointer<Sharer> sharer = shareToFlickr(untitledPhoto());
    ASSERT_TRUE(clickOnFlickrPage(sharer, "allow"));
    ShareFormController* edit = waitForForm(sharer);
    ASSERT_NE(edit, nullptr);
    QStringList labels;
    for (const char* key :
         {"title", "description", "tags", "is_public", "is_friend", "is_family", "postgroup"}) {
        ASSERT_NE(edit->fieldForKey(key), nullptr) << key;
        labels << edit->fieldForKey(key)->label();
    }
    EXPECT_EQ(labels, QStringList({"Title", "Description", "Tag, tag", "Is Public", "Is Friend",
                                   "Is Family", "Post To Groups"}));
    EXPECT_EQ(edit->valueForKey("tags"), "a-b, c");
    EXPECT_EQ(edit->valueForKey("is_public"), "1");
    EXPECT_EQ(edit->fieldForKey("postgroup")->placeholder(), "Select Group");
    ASSERT_EQ(flickr_.liveTokens().size(), 1);
    EXPECT_EQ(ShareCenter::getAuthValueForKey(FlickrSharer::kAuthTokenKey, "FlickrSharer"),
              flickr_.liveTokens().at(0));

    edit->setValueForKey("description", "Glass & light");
    edit->setValueForKey("is_friend", "0");
    edit->validateForm();
    ASSERT_TRUE(waitUntil([&] { return ended(sharer); }));

    ASSERT_EQ(flickr_.uploads().size(), 1);
    const FakeFlickrService::Upload& upload = flickr_.uploads().at(0);
    // A photo without a title goes as "photo"; the tags as words.
    EXPECT_EQ(upload.arguments.value("title"), "photo");
    EXPECT_EQ(upload.arguments.value("tags"), "ab c");
    EXPECT_EQ(upload.arguments.value("description"), "Glass & light");
    EXPECT_EQ(upload.arguments.value("is_public"), "1");
    EXPECT_EQ(upload.arguments.value("is_friend"), "0");
    EXPECT_EQ(upload.arguments.value("is_family"), "1");
    EXPECT_EQ(upload.contentType, "image/jpeg");
    EXPECT_EQ(QImage::fromData(upload.photo, "JPEG").size(), QSize(40, 30));
    EXPECT_TRUE(flickr_.failures().isEmpty()) << flickr_.failures().join('\n').toStdString();
    EXPECT_TRUE(notes_.contains(Sharer::kSendDidFinishNotification));
    EXPECT_TRUE(alertTexts().isEmpty()) << alertTexts().join('|').toStdString();
    const QString logged = log_.lines().join('\n');
    EXPECT_FALSE(logged.contains(flickr_.liveTokens().at(0)));
    EXPECT_FALSE(logged.contains("flickr-secret"));
}

TEST_F(FlickrSharerTest, AStoredTokenTheServiceNoLongerTakesLeadsToANewLoginThenTheUpload) {
    logInToFlickr();
    flickr_.revokeTokens();
    QPointer<Sharer> sharer = shareToFlickr(untitledPhoto());
    ShareFormController* edit = waitForForm(sharer);
    ASSERT_NE(edit, nullptr);
    edit->validateForm();
    ASSERT_TRUE(clickOnFlickrPage(sharer, "allow"));
    ASSERT_TRUE(waitUntil([&] { return ended(sharer); }));
    EXPECT_EQ(flickr_.uploads().size(), 1);
    EXPECT_TRUE(flickr_.calls().contains("flickr.auth.checkToken"));
    EXPECT_TRUE(flickr_.calls().contains("flickr.auth.getToken"));
    EXPECT_TRUE(alertTexts().isEmpty()) << alertTexts().join('|').toStdString();
    EXPECT_EQ(ShareCenter::getAuthValueForKey(FlickrSharer::kAuthTokenKey, "FlickrSharer"),
              flickr_.liveTokens().value(0));
}

TEST_F(FlickrSharerTest, ThePhotoGoesToEachChosenGroupAndAGroupNoLongerListedEndsTheShare) {
    logInToFlickr();
    flickr_.setGroups({{"11@N01", "Glass"}, {"22@N02", "Light & Shade"}});
    for (const QString& chosen :
         {QStringLiteral("Glass,Light & Shade"), QStringLiteral("Gone,Glass")}) {
        QPointer<Sharer> sharer = shareToFlickr(untitledPhoto());
        ShareFormController* edit = waitForForm(sharer);
        ASSERT_NE(edit, nullptr);
        FormOptionController* groups = openGroups(edit);
        ASSERT_NE(groups, nullptr);
        EXPECT_EQ(groups->titles(), QStringList({"Glass", "Light & Shade"}));
        EXPECT_EQ(groups->title(), "Flickr Groups");
        ASSERT_TRUE(edit->closeOptionPage());
        edit->setValueForKey("postgroup", chosen);
        edit->validateForm();
        ASSERT_TRUE(waitUntil([&] { return ended(sharer); }));
    }
    ASSERT_EQ(flickr_.uploads().size(), 2);
    // The second share's first group is gone: it ends after the upload.
    ASSERT_EQ(flickr_.poolAdds().size(), 2);
    EXPECT_EQ(flickr_.poolAdds().at(0).second, "11@N01");
    EXPECT_EQ(flickr_.poolAdds().at(1).second, "22@N02");
    EXPECT_FALSE(flickr_.poolAdds().at(0).first.isEmpty());
    EXPECT_TRUE(alertTexts().isEmpty()) << alertTexts().join('|').toStdString();
    EXPECT_TRUE(flickr_.failures().isEmpty()) << flickr_.failures().join('\n').toStdString();
}

TEST_F(FlickrSharerTest, AFailedGroupListingSaysSoAndKeepsTheForm) {
    logInToFlickr();
    flickr_.failNext("flickr.groups.pools.getGroups", 105, "Service currently unavailable");
    QPointer<Sharer> sharer = shareToFlickr(untitledPhoto());
    ShareFormController* edit = waitForForm(sharer);
    ASSERT_NE(edit, nullptr);
    FormOptionController* groups = openGroups(edit);
    ASSERT_NE(groups, nullptr);
    EXPECT_EQ(groups->state(), FormOptionController::State::Failed);
    EXPECT_EQ(alertTexts(), QStringList({"Error", "Service currently unavailable"}));
    // The form stays, with the page that says why: the photo can go without groups.
    EXPECT_FALSE(ended(sharer));
    EXPECT_EQ(edit->openOptionPage(), groups);
    EXPECT_TRUE(sharer->isPresented());
}

TEST_F(FlickrSharerTest, AnInvalidTokenWhileListingGroupsAsksForANewLoginAndShowsTheFormAgain) {
    logInToFlickr();
    flickr_.revokeTokens();
    QPointer<Sharer> sharer = shareToFlickr(untitledPhoto());
    ShareFormController* edit = waitForForm(sharer);
    ASSERT_NE(edit, nullptr);
    edit->setValueForKey("description", "kept across the login");
    edit->setValueForKey("is_family", "0");
    openGroups(edit);
    ASSERT_TRUE(clickOnFlickrPage(sharer, "allow"));
    edit = waitForForm(sharer);
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->valueForKey("description"), "kept across the login");
    EXPECT_EQ(edit->valueForKey("is_family"), "0");
    EXPECT_TRUE(alertTexts().isEmpty()) << alertTexts().join('|').toStdString();
}

TEST_F(FlickrSharerTest, AFailedTokenCheckOtherThanAnInvalidTokenSaysWhy) {
    logInToFlickr();
    flickr_.failNext("flickr.auth.checkToken", 105, "Service currently unavailable");
    QPointer<Sharer> sharer = shareToFlickr(untitledPhoto());
    ShareFormController* edit = waitForForm(sharer);
    ASSERT_NE(edit, nullptr);
    edit->validateForm();
    ASSERT_TRUE(waitUntil([&] { return ended(sharer); }));
    EXPECT_EQ(alertTexts(), QStringList({"Error", "Service currently unavailable"}));
    EXPECT_TRUE(flickr_.uploads().isEmpty());
    // The login stays: the service did not refuse it.
    EXPECT_FALSE(ShareCenter::getAuthValueForKey(FlickrSharer::kAuthTokenKey, "FlickrSharer")
                     .value_or(QString())
                     .isEmpty());
}

TEST_F(FlickrSharerTest, AQueuedShareSentInTheBackgroundShowsNothing) {
    logInToFlickr();
    ShareItem item = untitledPhoto();
    for (const char* key : {"is_public", "is_friend", "is_family"}) {
        item.setCustomValue("1", key);
    }
    auto* sharer = new FlickrSharer;
    QPointer<Sharer> guard(sharer);
    sharer->setQuiet(true);
    sharer->setItem(item);
    ASSERT_TRUE(sharer->tryToSend());
    EXPECT_FALSE(ShareActivityIndicator::currentIndicator()->isShown());
    ASSERT_TRUE(waitUntil([&] { return ended(guard); }));
    EXPECT_EQ(flickr_.uploads().size(), 1);
    EXPECT_TRUE(alertTexts().isEmpty());
}

TEST_F(FlickrSharerTest, AFailedUploadShowsTheServicesMessage) {
    logInToFlickr();
    flickr_.failNext("upload", 5, "Filetype was not recognised");
    QPointer<Sharer> sharer = shareToFlickr(untitledPhoto());
    ShareFormController* edit = waitForForm(sharer);
    ASSERT_NE(edit, nullptr);
    edit->validateForm();
    ASSERT_TRUE(waitUntil([&] { return ended(sharer); }));
    EXPECT_EQ(alertTexts(), QStringList({"Error", "Filetype was not recognised"}));
    EXPECT_TRUE(flickr_.poolAdds().isEmpty());
}

TEST_F(FlickrSharerTest, TheCallbackWithoutAFrobCancelsTheLogin) {
    QPointer<Sharer> sharer = shareToFlickr(untitledPhoto());
    ASSERT_TRUE(clickOnFlickrPage(sharer, "deny"));
    ASSERT_TRUE(waitUntil([&] { return ended(sharer); }));
    EXPECT_TRUE(notes_.contains(Sharer::kSendDidCancelNotification));
    EXPECT_TRUE(flickr_.liveTokens().isEmpty());
    EXPECT_TRUE(flickr_.uploads().isEmpty());
    EXPECT_TRUE(alertTexts().isEmpty());
}

}  // namespace
}  // namespace lumigrave::sharing::test
