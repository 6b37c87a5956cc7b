// E-mailing the watermarked photo from the main screen: the message msmtp delivers to a
// fake SMTP server, and the alert each result of the composer brings.
#include <gtest/gtest.h>

#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>

#include "app/main/mm_segmented_switcher.h"
#include "app_fixture.h"
#include "platform/mail_transport.h"
#include "support/fake_smtp_server.h"
#include "support/mime_parts.h"
#include "support/widget_test_support.h"
#include "ui/action_sheet.h"
#include "ui/alert_view.h"
#include "ui/mail_compose_view_controller.h"
#include "ui/on_screen.h"

namespace lumigrave::test {
namespace {

using Composer = ui::MailComposeViewController;

class MailOutputTest : public AppTest {
  protected:
    void SetUp() override {
        AppTest::SetUp();
        ASSERT_TRUE(server_.listen());
        QString error;
        ASSERT_TRUE(server_.writeMsmtpConfig(home_->path(), &error)) << error.toStdString();
        const QString msmtp = FakeSmtpServer::msmtpProgram();
        ASSERT_FALSE(msmtp.isEmpty()) << "msmtp is missing: scripts/setup.sh installs it";
        MailTransport::setSendmailProgram(msmtp);
        MailTransport::setMailAppProgram(home_->filePath("no-xdg-email"));
        launch();
    }
    void TearDown() override {
        MailTransport::setSendmailProgram({});
        MailTransport::setMailAppProgram({});
        AppTest::TearDown();
    }

    // The output sheet's "E-Mail Image...", as the user chooses it in photo mode.
    Composer* chooseEmail() {
        click(root().operatingModeSeg());
        clickToolbarItem("Output");
        ui::ActionSheet* sheet = ui::OnScreen::top<ui::ActionSheet>();
        if (sheet == nullptr) {
            ADD_FAILURE() << "no output sheet";
            return nullptr;
        }
        EXPECT_EQ(ui::OnScreen::buttonTitles(*sheet).value(1), "E-Mail Image...");
        ui::OnScreen::pressButton(*sheet, 1);
        ui::test::flushDeletes();
        QCoreApplication::processEvents();
        // The overlay first; the composer on the next turn, which hides it.
        EXPECT_EQ(overlayMessage(), "Loading...");
        EXPECT_EQ(ui::OnScreen::top<Composer>(), nullptr);
        settle();
        EXPECT_EQ(overlayMessage(), "");
        return ui::OnScreen::top<Composer>();
    }

    ui::AlertView* alert() { return ui::OnScreen::top<ui::AlertView>(); }

    FakeSmtpServer server_;
};

TEST_F(MailOutputTest, TheWatermarkedPhotoArrivesAsAPngNamedAfterTheApplication) {
    const QImage expected = app().embossedImage().uprightPixels();
    ASSERT_FALSE(expected.isNull());
    QPointer<Composer> composer = chooseEmail();
    ASSERT_TRUE(composer);
    QWidget* panel = composer->panel();
    EXPECT_EQ(panel->findChild<QLineEdit*>("subject")->text(), "Photo Sharing");
    EXPECT_EQ(panel->findChild<QPlainTextEdit*>("body")->toPlainText(), "\nCreated by Lumigrave.");
    EXPECT_TRUE(panel->findChild<QLabel*>("attachment0")->text().startsWith("Lumigrave ("));
    panel->findChild<QLineEdit*>("to")->setText("friend@example.test");
    ASSERT_TRUE(ui::OnScreen::pressButton(*composer, Composer::kSendButton));
    ASSERT_TRUE(ui::test::eventually([&] { return alert() != nullptr; }, 20000));

    EXPECT_EQ(alert()->title(), "Mail Sent");
    EXPECT_EQ(alert()->message(), "The email message was queued successfully.");
    EXPECT_EQ(ui::OnScreen::buttonTitles(*alert()), QStringList({"OK"}));
    EXPECT_TRUE(composer.isNull() || !composer->isPresented());
    ASSERT_EQ(server_.messages().size(), 1);
    const MimePart message = parseMime(server_.messages().first().data);
    EXPECT_EQ(decodeHeader(message.header("subject")), "Photo Sharing");
    ASSERT_EQ(message.parts.size(), 2);
    EXPECT_EQ(QString::fromUtf8(message.parts[0].body), "\nCreated by Lumigrave.");
    const MimePart& attachment = message.parts[1];
    EXPECT_EQ(attachment.contentType(), "image/png");
    EXPECT_EQ(attachment.parameter("content-disposition", "filename"), "Lumigrave");
    QImage received;
    ASSERT_TRUE(received.loadFromData(attachment.body, "PNG"));
    EXPECT_EQ(received.size(), expected.size());
    EXPECT_EQ(received.convertToFormat(QImage::Format_ARGB32),
              expected.convertToFormat(QImage::Format_ARGB32));

    // The alert only informs.
    ASSERT_TRUE(ui::OnScreen::pressButton(*alert(), 0));
    settle();
    EXPECT_TRUE(ui::OnScreen::all().isEmpty());
}

TEST_F(MailOutputTest, EachResultBringsItsAlertAndDismissesTheComposer) {
    struct Row {
        int result;
        QString error;
        QString title;
        QString message;
    };
    const QList<Row> rows = {
        {0, QString(), QString(), QString()},
        {1, QString(), QString(), QString()},
        {2, QString(), "Mail Sent", "The email message was queued successfully."},
        {3, "The server is down.", "Sending Failed", "The server is down."},
        {3, QString(), "Sending Failed", "Message sending failed (unknown error)."},
        {4, "Ignored.", "Sending Failed", "Message sending failed (unknown error)."},
    };
    // A small photo: the table is about the alerts, not the attachment.
    QImage small(16, 12, QImage::Format_RGB32);
    small.fill(Qt::darkCyan);
    for (const Row& row : rows) {
        root().emailImage(Image(small));
        settle();
        QPointer<Composer> composer = ui::OnScreen::top<Composer>();
        ASSERT_TRUE(composer) << row.result;
        root().mailComposeController(*composer, row.result, row.error);
        settle();
        EXPECT_TRUE(composer.isNull()) << row.result;
        if (row.title.isEmpty()) {
            EXPECT_EQ(alert(), nullptr) << row.result;
            continue;
        }
        ASSERT_NE(alert(), nullptr) << row.result;
        EXPECT_EQ(alert()->title(), row.title);
        EXPECT_EQ(alert()->message(), row.message);
        ASSERT_TRUE(ui::OnScreen::pressButton(*alert(), 0));
        settle();
    }
    EXPECT_TRUE(ui::OnScreen::all().isEmpty());
}

TEST_F(MailOutputTest, CancellingWithDeleteDraftShowsNoAlert) {
    QPointer<Composer> composer = chooseEmail();
    ASSERT_TRUE(composer);
    ASSERT_TRUE(ui::OnScreen::pressButton(*composer, Composer::kCancelButton));
    settle();
    ui::ActionSheet* sheet = ui::OnScreen::top<ui::ActionSheet>();
    ASSERT_NE(sheet, nullptr);
    ASSERT_TRUE(ui::OnScreen::pressButton(*sheet, sheet->destructiveButtonIndex()));
    settle();
    EXPECT_TRUE(composer.isNull());
    EXPECT_TRUE(ui::OnScreen::all().isEmpty());
    EXPECT_TRUE(server_.messages().isEmpty());
}

TEST_F(MailOutputTest, WithoutSendmailTheFailureIsShownNeverSuccess) {
    MailTransport::setSendmailProgram(home_->filePath("usr/sbin/sendmail"));
    QPointer<Composer> composer = chooseEmail();
    ASSERT_TRUE(composer);
    composer->panel()->findChild<QLineEdit*>("to")->setText("friend@example.test");
    ASSERT_TRUE(ui::OnScreen::pressButton(*composer, Composer::kSendButton));
    ASSERT_TRUE(ui::test::eventually([&] { return alert() != nullptr; }, 20000));
    EXPECT_EQ(alert()->title(), "Sending Failed");
    EXPECT_EQ(alert()->message(), MailTransport::noTransportMessage());
    EXPECT_TRUE(composer.isNull() || !composer->isPresented());
    ASSERT_TRUE(ui::OnScreen::pressButton(*alert(), 0));
    settle();
}

}  // namespace
}  // namespace lumigrave::test
