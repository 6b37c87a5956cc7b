// The settings page from the main screen's gear: its table, what each row does, and the
// help pages it opens.
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTextBrowser>
#include <QTextEdit>

#include "app/mail_result_alert.h"
#include "app/settings/html_file_view_controller.h"
#include "app/settings/settings_view_controller.h"
#include "app/settings/text_file_view_controller.h"
#include "editor_fixture.h"
#include "platform/bundle.h"
#include "platform/keychain.h"
#include "platform/reachability.h"
#include "platform/user_defaults.h"
#include "sharing/ui/read_later_sharer.h"
#include "sharing/ui/sharer.h"
#include "support/log_capture.h"
#include "support/opened_urls.h"
#include "support/widget_test_support.h"
#include "ui/action_sheet.h"
#include "ui/alert_view.h"
#include "ui/bar_style.h"
#include "ui/mail_compose_view_controller.h"
#include "ui/navigation_bar.h"
#include "ui/on_screen.h"
#include "ui/table_view.h"

namespace lumigrave::test {
namespace {

using Accessory = ui::TableViewCell::AccessoryType;

// The application launched, the settings page opened from the gear.
class SettingsTest : public EditorTest {
  protected:
    void SetUp() override {
        EditorTest::SetUp();
        launch();
        advance(0.3);
        click(navigation().navigationBar()->rightWidget());
        waitForTop([&] { return navigation().topViewController() != &root(); });
        settings_ = dynamic_cast<SettingsViewController*>(navigation().topViewController());
        ASSERT_NE(settings_, nullptr);
        ASSERT_NE(settings_->tableView(), nullptr);
    }
    ui::TableView& table() { return *settings_->tableView(); }
    QString label(int section, int row) {
        return table().cellForRowAtIndexPath({section, row})->textLabel()->text();
    }
    void clickRow(int section, int row) {
        ui::TableViewCell* cell = table().cellForRowAtIndexPath({section, row});
        ASSERT_NE(cell, nullptr);
        click(cell);
    }
    // The page a row opens, once it has arrived; null (and a failure) if it is no T.
    template <class T>
    T* openPage(int section, int row) {
        clickRow(section, row);
        waitForTop([&] { return navigation().topViewController() != settings_; });
        auto* page = dynamic_cast<T*>(navigation().topViewController());
        EXPECT_NE(page, nullptr);
        return page;
    }
    void goBack() {
        click(navigation().navigationBar()->leftWidget());
        waitForTop([&] { return navigation().topViewController() == settings_; });
    }

    SettingsViewController* settings_ = nullptr;
};

TEST_F(SettingsTest, SixRowsInFourSectionsUnderTwoHeadersOverTheFooter) {
    EXPECT_EQ(settings_->title(), "Settings");
    EXPECT_FALSE(navigation().isNavigationBarHidden());
    EXPECT_TRUE(navigation().isToolbarHidden());
    EXPECT_EQ(table().style(), ui::TableView::Style::Grouped);
    EXPECT_EQ(table().geometry().top(), ui::kBarHeight);

    ASSERT_EQ(table().numberOfSections(), 4);
    EXPECT_EQ(table().numberOfRowsInSection(0), 1);
    EXPECT_EQ(table().numberOfRowsInSection(1), 2);
    EXPECT_EQ(table().numberOfRowsInSection(2), 1);
    EXPECT_EQ(table().numberOfRowsInSection(3), 2);
    ASSERT_NE(table().headerViewForSection(0), nullptr);
    EXPECT_EQ(table().headerViewForSection(0)->text(), "Help");
    ASSERT_NE(table().headerViewForSection(1), nullptr);
    EXPECT_EQ(table().headerViewForSection(1)->text(), "Miscellaneous");
    EXPECT_EQ(table().headerViewForSection(2), nullptr);
    EXPECT_EQ(table().headerViewForSection(3), nullptr);

    const QStringList labels = {label(0, 0), label(1, 0), label(1, 1),
                                label(2, 0), label(3, 0), label(3, 1)};
    EXPECT_EQ(labels, QStringList({"Quick Tutorial", "Copyright & Credits", "Privacy",
                                   "Tell Friends", "Rate/Review This App", "Feedback or Support"}));
    // The pages' rows lead on; the actions' rows are centred.
    for (ui::IndexPath page : {ui::IndexPath{0, 0}, {1, 0}, {1, 1}}) {
        ui::TableViewCell* cell = table().cellForRowAtIndexPath(page);
        EXPECT_EQ(cell->accessoryType(), Accessory::DisclosureIndicator);
        EXPECT_FALSE(cell->textLabel()->alignment() & Qt::AlignHCenter);
    }
    for (ui::IndexPath action : {ui::IndexPath{2, 0}, {3, 0}, {3, 1}}) {
        ui::TableViewCell* cell = table().cellForRowAtIndexPath(action);
        EXPECT_EQ(cell->accessoryType(), Accessory::None);
        EXPECT_TRUE(cell->textLabel()->alignment() & Qt::AlignHCenter);
    }

    // Name and version on the first line, the copyright notice centred under it.
    QLabel* footer = settings_->footerLabel();
    ASSERT_NE(footer, nullptr);
    EXPECT_EQ(footer->text(), "lumigrave " + Bundle::infoValue("CFBundleVersion") +
                                  "\n\u00A9 2026 Lumigrave developers");
    EXPECT_FALSE(Bundle::infoValue("CFBundleVersion").isEmpty());
    EXPECT_TRUE(footer->alignment() & Qt::AlignHCenter);
    QWidget* footerView = table().tableFooterView();
    ASSERT_EQ(footer->parentWidget(), footerView);
    EXPECT_EQ(footerView->height(), 60);
    EXPECT_EQ(footer->geometry(), QRect(0, 10, footerView->width(), 50));
    EXPECT_EQ(footerView->width(), table().viewport()->width());
    EXPECT_GT(footerView->y(), table().rectForRowAtIndexPath({3, 1}).bottom());
    // All of it can be scrolled into sight in the 480-point window.
    EXPECT_GT(table().contentHeight(), table().viewport()->height());
    table().verticalScrollBar()->setValue(table().verticalScrollBar()->maximum());
    EXPECT_LE(footerView->mapTo(table().viewport(), QPoint(0, 59)).y(),
              table().viewport()->height());
}

TEST_F(SettingsTest, ThePageRowsOpenTheirPagesAndTheBackButtonReturns) {
    auto* tutorial = openPage<HtmlFileViewController>(0, 0);
    ASSERT_NE(tutorial, nullptr);
    EXPECT_EQ(tutorial->title(), "Quick Tutorial");
    EXPECT_EQ(tutorial->fileName(), "html_files/quick-tutor");
    EXPECT_TRUE(tutorial->webView()->toPlainText().contains("Opening a photo"));
    // The row was let go as it was chosen.
    EXPECT_FALSE(table().indexPathForSelectedRow().has_value());
    goBack();

    auto* credits = openPage<TextFileViewController>(1, 0);
    ASSERT_NE(credits, nullptr);
    EXPECT_EQ(credits->title(), "Copyright & Credits");
    const QString text = credits->textView()->toPlainText();
    for (const char* credit : {"DejaVu", "water drop", "Qt", "SQLite", "libjpeg-turbo", "exiv2"}) {
        EXPECT_TRUE(text.contains(credit)) << credit;
    }
    EXPECT_TRUE(credits->textView()->isReadOnly());
    goBack();

    auto* privacy = openPage<TextFileViewController>(1, 1);
    ASSERT_NE(privacy, nullptr);
    EXPECT_EQ(privacy->title(), "Privacy");
    EXPECT_TRUE(privacy->textView()->toPlainText().contains("keyring"));
    goBack();
    EXPECT_EQ(navigation().viewControllers().size(), 2u);
}

TEST_F(SettingsTest, TellFriendsOffersFourServicesAndCancelSharesNothing) {
    clickRow(2, 0);
    ui::ActionSheet* sheet = ui::OnScreen::top<ui::ActionSheet>();
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(sheet->title(), "Tell Friends on");
    EXPECT_EQ(sheet->style(), ui::ActionSheet::Style::BlackTranslucent);
    EXPECT_EQ(ui::OnScreen::buttonTitles(*sheet),
              QStringList({"Facebook", "Twitter", "LinkedIn", "Pocket (Read It Later)", "Cancel"}));
    ASSERT_TRUE(ui::OnScreen::pressButton(*sheet, sheet->cancelButtonIndex()));
    settle();
    EXPECT_TRUE(ui::OnScreen::all<ui::ActionSheet>().isEmpty());
    EXPECT_TRUE(alertTexts().isEmpty());

    // Twitter and LinkedIn log in on the service's page first, which needs the network.
    Reachability::setForcedConnected(false);
    for (int service : {1, 2}) {
        clickRow(2, 0);
        sheet = ui::OnScreen::top<ui::ActionSheet>();
        ASSERT_NE(sheet, nullptr);
        const QString name = ui::OnScreen::buttonTitles(*sheet).value(service);
        ASSERT_TRUE(ui::OnScreen::pressButton(*sheet, service));
        settle();
        EXPECT_EQ(alertTexts(), QStringList({"Offline", "You must be online to login to " + name}));
        for (ui::AlertView* alert : ui::OnScreen::all<ui::AlertView>()) {
            alert->dismissWithClickedButtonIndex(0, false);
        }
        settle();
    }
    Reachability::setForcedConnected(std::nullopt);
    EXPECT_EQ(SettingsViewController::recommendationTitle(),
              "Lumigrave is Awesome! Really impressed with the glass-like watermark.");
}

TEST_F(SettingsTest, TellFriendsOnPocketLogsInThenOffersTheRecommendation) {
    // Logins go to the private file, and the login form needs the computer online.
    qunsetenv("DBUS_SESSION_BUS_ADDRESS");
    Keychain::resetForTesting();
    Reachability::setForcedConnected(true);
    clickRow(2, 0);
    ui::ActionSheet* sheet = ui::OnScreen::top<ui::ActionSheet>();
    ASSERT_NE(sheet, nullptr);
    ASSERT_TRUE(ui::OnScreen::pressButton(*sheet, 3));
    settle();
    EXPECT_TRUE(alertTexts().isEmpty());
    auto* sharer = dynamic_cast<sharing::ReadLaterSharer*>(navigation().modalViewController());
    ASSERT_NE(sharer, nullptr);
    EXPECT_EQ(sharer->item().shareType(), sharing::ShareTypeURL);
    EXPECT_EQ(sharer->item().URL(), SettingsViewController::storePageUrl());
    EXPECT_EQ(sharer->item().title(), SettingsViewController::recommendationTitle());
    sharing::ShareFormController* login = sharer->currentForm();
    ASSERT_NE(login, nullptr);
    EXPECT_EQ(login->title(), "Login");
    login->setValueForKey("username", "ann");
    login->setValueForKey("password", "pw");
    login->validateForm();
    settle();
    sharing::ShareFormController* edit = sharer->currentForm();
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->rightButton()->title(), "Send to Pocket");
    EXPECT_EQ(edit->valueForKey("title"), SettingsViewController::recommendationTitle());
    // Cancelled here: the save itself is the sharer's own test, against a fake service.
    QPointer<sharing::Sharer> watched = sharer;
    edit->cancelForm();
    settle();
    EXPECT_TRUE(watched.isNull());
    Reachability::setForcedConnected(std::nullopt);
}

TEST_F(SettingsTest, TellFriendsOnFacebookSharesTheStorePageThroughItsLogin) {
    // Logins go to the private file, never to the desktop's keyring.
    const QByteArray bus = qgetenv("DBUS_SESSION_BUS_ADDRESS");
    qunsetenv("DBUS_SESSION_BUS_ADDRESS");
    Keychain::resetForTesting();
    Reachability::setForcedConnected(true);
    OpenedUrls browser({"http", "https"});
    clickRow(2, 0);
    ui::ActionSheet* sheet = ui::OnScreen::top<ui::ActionSheet>();
    ASSERT_NE(sheet, nullptr);
    ASSERT_TRUE(ui::OnScreen::pressButton(*sheet, 0));
    settle();
    EXPECT_TRUE(alertTexts().isEmpty());
    ASSERT_EQ(browser.opened.size(), 1);
    EXPECT_TRUE(browser.opened[0].query().contains("response_type=token"));
    // The recommendation waits for the login.
    const QString waiting =
        UserDefaults().stringForKey(QStringLiteral("kShareStoredShareInfo/kShareStoredItem"));
    EXPECT_TRUE(waiting.contains(SettingsViewController::storePageUrl().toString()))
        << waiting.toStdString();
    EXPECT_TRUE(waiting.contains(SettingsViewController::recommendationTitle()));
    Reachability::setForcedConnected(std::nullopt);
    if (!bus.isEmpty()) {
        qputenv("DBUS_SESSION_BUS_ADDRESS", bus);
    }
}

TEST(MailResultAlert, EachResultHasItsAlertOrNone) {
    EXPECT_FALSE(mailResultAlert(0, QString()));
    EXPECT_FALSE(mailResultAlert(1, QString()));
    const auto sent = mailResultAlert(2, QString());
    ASSERT_TRUE(sent);
    EXPECT_EQ(sent->title, "Mail Sent");
    EXPECT_EQ(sent->message, "The email message was queued successfully.");
    const auto failed = mailResultAlert(3, "No mail transport");
    ASSERT_TRUE(failed);
    EXPECT_EQ(failed->title, "Sending Failed");
    EXPECT_EQ(failed->message, "No mail transport");
    for (int unknown : {3, 4, 99}) {
        const auto other = mailResultAlert(unknown, unknown == 3 ? QString() : "ignored");
        ASSERT_TRUE(other);
        EXPECT_EQ(other->message, "Message sending failed (unknown error).");
    }
}

TEST_F(SettingsTest, RateOpensTheReviewPageAndFeedbackShowsLoadingFirst) {
    OpenedUrls store({"itms-apps"});
    clickRow(3, 0);
    ASSERT_EQ(store.opened.size(), 1);
    EXPECT_EQ(store.opened[0].path(), "/WebObjects/MZStore.woa/wa/viewContentsUserReviews");
    EXPECT_EQ(store.opened[0].query(),
              "id=app.lumigrave.Lumigrave&onlyLatestVersion=true&pageNumber=0&sortOrdering=1&"
              "type=Purple+Software");
    EXPECT_TRUE(alertTexts().isEmpty());

    // The overlay is up before the mail is made, and gone once it is.
    press(table().cellForRowAtIndexPath({3, 1}));
    EXPECT_EQ(overlayMessage(), "Loading...");
    EXPECT_TRUE(alertTexts().isEmpty());
    settle();
    EXPECT_EQ(overlayMessage(), "");
    // The composer is up, addressed to the maker, with the version in the subject.
    ui::MailComposeViewController* composer = ui::OnScreen::top<ui::MailComposeViewController>();
    ASSERT_NE(composer, nullptr);
    const MailMessage message = composer->message();
    EXPECT_EQ(message.toRecipients, QStringList{"support@lumigrave.app"});
    EXPECT_EQ(message.subject, "About Lumigrave " + Bundle::infoValue("CFBundleVersion"));
    EXPECT_EQ(message.body, "Hi Tessory Support,\n\n");
    EXPECT_TRUE(alertTexts().isEmpty());
    // Cancelled with "Delete Draft": the composer goes, no alert.
    settings_->mailComposeController(*composer, ui::MailComposeViewController::kResultCancelled,
                                     QString());
    settle();
    EXPECT_TRUE(alertTexts().isEmpty());
    EXPECT_EQ(SettingsViewController::feedbackBody(), "Hi Tessory Support,\n\n");
}

// A help page pushed onto the application's stack.
class HelpPageTest : public SettingsTest {
  protected:
    template <class T>
    T* push(const QString& fileName) {
        auto* page = new T(fileName);
        page->setTitle("Page");
        navigation().pushViewController(page, false);
        settle();
        return page;
    }
};

TEST_F(HelpPageTest, PagesLieUnderTheNavigationBarOrFillTheWindowWithoutIt) {
    auto* text = push<TextFileViewController>("privacy");
    EXPECT_EQ(text->textView()->geometry(), QRect(0, ui::kBarHeight, 320, 480 - ui::kBarHeight));
    navigation().setNavigationBarHidden(true, false);
    EXPECT_EQ(text->textView()->geometry(), QRect(0, 0, 320, 480));
    navigation().popViewControllerAnimated(false);
    settle();

    // Pushed while the bar is hidden (the settings page shows it again as it reappears), a
    // page starts at the top from the first.
    navigation().setNavigationBarHidden(true, false);
    auto* html = push<HtmlFileViewController>("html_files/quick-tutor");
    EXPECT_EQ(html->webView()->geometry(), QRect(0, 0, 320, 480));
    navigation().setNavigationBarHidden(false, false);
    EXPECT_EQ(html->webView()->geometry(), QRect(0, ui::kBarHeight, 320, 480 - ui::kBarHeight));
}

TEST_F(HelpPageTest, LinksBetweenBundledPagesAreFollowedAndWebLinksGoToTheBrowser) {
    OpenedUrls browser({"http", "https"});
    auto* page = push<HtmlFileViewController>("html_files/linked/first");
    QTextBrowser* view = page->webView();
    ASSERT_TRUE(view->toPlainText().contains("First page"));

    emit view->anchorClicked(QUrl("https://lumigrave.app/help"));
    settle();
    ASSERT_EQ(browser.opened.size(), 1);
    EXPECT_EQ(browser.opened[0], QUrl("https://lumigrave.app/help"));
    EXPECT_TRUE(view->toPlainText().contains("First page"));

    // A link to a page that is not bundled keeps the page, as a link a browser cannot
    // load would otherwise empty it.
    {
        LogCapture log;
        emit view->anchorClicked(QUrl("gone.html"));
        settle();
        EXPECT_TRUE(view->toPlainText().contains("First page"));
        EXPECT_TRUE(
            log.contains("A help page's link leads nowhere: qrc:/html_files/linked/gone.html"));
    }

    emit view->anchorClicked(QUrl("second.html#end"));
    settle();
    EXPECT_EQ(view->source(), QUrl("qrc:/html_files/linked/second.html#end"));
    EXPECT_TRUE(view->toPlainText().contains("Second page"));
    emit view->anchorClicked(QUrl("first.html"));
    settle();
    EXPECT_TRUE(view->toPlainText().contains("First page"));
    EXPECT_EQ(browser.opened.size(), 1);
}

TEST_F(HelpPageTest, TheTutorialsPicturesAndAnchorsAreAllThere) {
    auto* page = push<HtmlFileViewController>("html_files/quick-tutor");
    QTextBrowser* view = page->webView();
    QFile file(":/html_files/quick-tutor.html");
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString html = QString::fromUtf8(file.readAll());
    int pictures = 0;
    int screens = 0;
    const QRegularExpression source(QStringLiteral("<img src=\"([^\"]+)\""));
    for (const QRegularExpressionMatch& match : source.globalMatch(html)) {
        const QUrl url = view->source().resolved(QUrl(match.captured(1)));
        EXPECT_TRUE(QFile::exists(":" + url.path())) << url.toString().toStdString();
        ++pictures;
        if (match.captured(1).startsWith("pictures/")) {
            // The application's own screens, whole, in the window's size.
            EXPECT_EQ(QImage(":" + url.path()).size(), QSize(320, 480))
                << url.toString().toStdString();
            ++screens;
        }
    }
    EXPECT_GE(pictures, 10);
    EXPECT_GE(screens, 6);
    const QRegularExpression link(QStringLiteral("<a href=\"#([^\"]+)\""));
    for (const QRegularExpressionMatch& match : link.globalMatch(html)) {
        EXPECT_TRUE(html.contains("<a name=\"" + match.captured(1) + "\">"))
            << match.captured(1).toStdString();
    }

    // An anchor link moves down the same page.
    view->verticalScrollBar()->setValue(0);
    emit view->anchorClicked(QUrl("#output"));
    settle();
    EXPECT_GT(view->verticalScrollBar()->value(), 0);
    EXPECT_TRUE(view->toPlainText().contains("Quick Tutorial"));
}

TEST_F(HelpPageTest, AMissingPageShowsEmptyWithALineSayingSo) {
    LogCapture log;
    auto* page = push<HtmlFileViewController>("html_files/no-such-page");
    EXPECT_EQ(page->webView()->toPlainText(),
              "The page \u201Chtml_files/no-such-page\u201D is missing.");
    EXPECT_TRUE(log.contains("The page \"html_files/no-such-page\" is missing from the resources"));
    navigation().popViewControllerAnimated(false);
    settle();

    // A missing text page is an empty page.
    auto* text = push<TextFileViewController>("no-such-text");
    EXPECT_EQ(text->textView()->toPlainText(), "");
    EXPECT_TRUE(log.contains("The text page \"no-such-text\" is missing from the resources"));
}

}  // namespace
}  // namespace lumigrave::test
