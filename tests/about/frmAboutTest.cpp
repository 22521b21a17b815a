#include "about/frmAbout.h"

#include <gtest/gtest.h>

#include <functional>

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "about/AboutTexts.h"
#include "tests/about/AboutFakes.h"

namespace {

struct Fakes {
    RecordingRegistry registry;
    FakeFileLookup files;
    FakeProgramStarter programs;
    FakeMessageBox messages;
    FakeMail mail;
    AboutServices services{registry, files, programs, messages, mail, mail};
};

const std::string kAddress = kContactAddress;

TEST(frmAbout, ControlsSitWhereTheLayoutPutsThem) {
    Fakes fakes;
    frmAbout form(fakes.services, nullptr);
    EXPECT_EQ(form.size(), QSize(377, 270));
    EXPECT_EQ(form.minimumSize(), form.maximumSize());
    EXPECT_FALSE(form.windowFlags() &
                 (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    EXPECT_EQ(form.windowTitle(), "About Quillix");
    EXPECT_FALSE(form.windowIcon().isNull());

    const struct {
        const char* name;
        QRect box;  // twips / 15
    } controls[] = {
        {"cmdOK", {283, 184, 84, 23}},       {"cmdSysInfo", {284, 216, 83, 23}},
        {"picIcon", {16, 16, 36, 36}},       {"lblDisclaimer", {16, 175, 242, 84}},
        {"lblVersion", {70, 32, 259, 15}},   {"lblTitle", {70, 16, 259, 16}},
        {"lblCopyright", {70, 48, 161, 17}}, {"Label2", {240, 48, 130, 17}},
    };
    for (const auto& control : controls) {
        const auto* widget = form.findChild<QWidget*>(control.name);
        ASSERT_NE(widget, nullptr) << control.name;
        EXPECT_EQ(widget->geometry(), control.box) << control.name;
    }
    EXPECT_EQ(form.Line1[1]->geometry(), QRect(15, 162, 348, 1));
    EXPECT_EQ(form.Line1[0]->geometry(), QRect(16, 163, 347, 2));
    EXPECT_EQ(form.Line1[1]->palette().color(QPalette::Window), QColor(128, 128, 128));
    EXPECT_EQ(form.Line1[0]->palette().color(QPalette::Window), QColor(255, 255, 255));
    EXPECT_EQ(form.findChildren<QFrame*>("Line1").size(), 2);
}

TEST(frmAbout, ShowsNameVersionNoticeAddressAndWarning) {
    Fakes fakes;
    frmAbout form(fakes.services, nullptr);
    EXPECT_EQ(form.lblTitle->text(), "Quillix");
    EXPECT_EQ(form.lblTitle->palette().color(QPalette::WindowText), QColor(0, 0, 0));
    EXPECT_EQ(form.lblVersion->text(), "Version 1.0.0");
    EXPECT_EQ(form.lblVersion->text(),
              VersionCaption(QUILLIX_VERSION_MAJOR, QUILLIX_VERSION_MINOR, QUILLIX_VERSION_PATCH));
    EXPECT_TRUE(form.lblCopyright->text().contains("Quillix"));
    EXPECT_EQ(form.Label2->text().toStdString(), kAddress);
    EXPECT_EQ(form.Label2->palette().color(QPalette::WindowText), QColor(0, 0, 192));
    EXPECT_TRUE(form.Label2->font().underline());
    EXPECT_EQ(form.Label2->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_TRUE(form.lblDisclaimer->wordWrap());
    EXPECT_FALSE(form.picIcon->pixmap().isNull());
    EXPECT_EQ(form.cmdOK->text(), "OK");
    EXPECT_EQ(form.cmdSysInfo->text(), "&System Info...");
}

TEST(frmAbout, EveryTextFitsItsBox) {
    Fakes fakes;
    frmAbout form(fakes.services, nullptr);
    for (QLabel* label : {form.lblTitle, form.lblVersion, form.lblCopyright, form.Label2}) {
        const QFontMetrics metrics(label->font());
        EXPECT_LE(metrics.horizontalAdvance(label->text()), label->width())
            << label->objectName().toStdString();
        EXPECT_LE(metrics.height(), label->height() + 2) << label->objectName().toStdString();
    }
    const QFontMetrics metrics(form.lblDisclaimer->font());
    const QRect wrapped = metrics.boundingRect(QRect(0, 0, form.lblDisclaimer->width(), 10000),
                                               Qt::TextWordWrap, form.lblDisclaimer->text());
    EXPECT_LE(wrapped.height(), form.lblDisclaimer->height());
}

TEST(VersionCaption, PlainDecimalNumbers) {
    EXPECT_EQ(VersionCaption(1, 0, 0), "Version 1.0.0");
    EXPECT_EQ(VersionCaption(2, 15, 7), "Version 2.15.7");
    EXPECT_EQ(VersionCaption(32767, 10, 0), "Version 32767.10.0");
}

TEST(frmAbout, OkIsDefaultAndHasTheFocus) {
    Fakes fakes;
    frmAbout form(fakes.services, nullptr);
    form.show();
    EXPECT_TRUE(form.cmdOK->isDefault());
    EXPECT_EQ(form.focusWidget(), form.cmdOK);
    EXPECT_EQ(form.cmdOK->nextInFocusChain(), form.cmdSysInfo);
}

enum class Closing { Click, Enter, Return, Escape };

class frmAboutClosing : public testing::TestWithParam<Closing> {};

TEST_P(frmAboutClosing, OkEnterAndEscCloseTheDialog) {
    Fakes fakes;
    frmAbout form(fakes.services, nullptr);
    form.show();
    switch (GetParam()) {
        case Closing::Click:
            QTest::mouseClick(form.cmdOK, Qt::LeftButton);
            break;
        case Closing::Enter:
            QTest::keyClick(form.cmdOK, Qt::Key_Enter);
            break;
        case Closing::Return:
            QTest::keyClick(form.cmdOK, Qt::Key_Return);
            break;
        case Closing::Escape:
            QTest::keyClick(form.cmdOK, Qt::Key_Escape);
            break;
    }
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(form.result(), QDialog::Accepted);  // all of them are OK's click
    EXPECT_TRUE(fakes.mail.calls.empty());
    EXPECT_TRUE(fakes.messages.shown.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Keys, frmAboutClosing,
                         testing::Values(Closing::Click, Closing::Enter, Closing::Return,
                                         Closing::Escape));

TEST(frmAbout, EveryShowingBuildsAFreshDialogCentredOverItsOwner) {
    Fakes fakes;
    QWidget owner;
    owner.setGeometry(100, 80, 800, 600);
    owner.show();

    std::vector<QPointer<frmAbout>> seen;
    QStringList versions;
    std::vector<QPoint> centres;
    // Looks for the shown dialog from inside its own event loop, a few times if need be; one
    // that never becomes the active modal window is closed anyway, so ShowModal cannot hang.
    std::function<void(int)> closeWhenShown = [&](int triesLeft) {
        QTimer::singleShot(triesLeft == 50 ? 0 : 20, [&, triesLeft] {
            auto* form = qobject_cast<frmAbout*>(QApplication::activeModalWidget());
            if (form == nullptr && triesLeft > 0) return closeWhenShown(triesLeft - 1);
            if (form == nullptr) {
                ADD_FAILURE() << "the dialog never became the active modal window";
                for (QWidget* window : QApplication::topLevelWidgets()) {
                    if (auto* stray = qobject_cast<frmAbout*>(window)) stray->reject();
                }
                return;
            }
            seen.emplace_back(form);
            versions << form->lblVersion->text();
            centres.push_back(form->geometry().center());
            EXPECT_EQ(form->parentWidget(), &owner);
            QTest::keyClick(form->cmdOK, Qt::Key_Escape);
        });
    };
    for (int showing = 0; showing < 2; ++showing) {
        closeWhenShown(50);
        frmAbout::ShowModal(&owner, fakes.services);
        ASSERT_EQ(seen.size(), std::size_t(showing + 1));
        EXPECT_TRUE(seen.back().isNull());  // unloaded when closed
    }
    EXPECT_EQ(versions, QStringList({"Version 1.0.0", "Version 1.0.0"}));
    for (const QPoint& centre : centres) {
        EXPECT_LE((centre - owner.geometry().center()).manhattanLength(), 4);
    }
}

// Which mail step fails, and the calls that are then made.
struct MailCase {
    const char* name;
    const char* failing;
    std::vector<std::string> calls;
};

const std::vector<std::string> kAllCalls = {"SignOn",
                                            "SessionID",
                                            "SetSessionID 77",
                                            "Compose",
                                            "SetRecipAddress " + kAddress,
                                            "SetRecipDisplayName " + kAddress,
                                            "SetAction 2",
                                            "SignOff"};

class frmAboutMail : public testing::TestWithParam<MailCase> {};

TEST_P(frmAboutMail, ClickOnTheAddressDrivesTheMailSystem) {
    Fakes fakes;
    fakes.mail.failing = {GetParam().failing};
    frmAbout form(fakes.services, nullptr);
    form.show();
    QTest::mouseClick(form.Label2, Qt::LeftButton);
    EXPECT_EQ(fakes.mail.calls, GetParam().calls);
    EXPECT_TRUE(form.isVisible());
    EXPECT_TRUE(fakes.messages.shown.isEmpty());
    // The dialog is still usable afterwards.
    QTest::mouseClick(form.cmdOK, Qt::LeftButton);
    EXPECT_FALSE(form.isVisible());
}

INSTANTIATE_TEST_SUITE_P(
    Steps, frmAboutMail,
    testing::Values(MailCase{"NothingFails", "", kAllCalls},
                    MailCase{"SignOnFails", "SignOn", {"SignOn"}},
                    MailCase{"SessionIdFails", "SessionID", {"SignOn", "SessionID", "SignOff"}},
                    MailCase{"SetSessionIdFails",
                             "SetSessionID",
                             {"SignOn", "SessionID", "SetSessionID 77", "SignOff"}},
                    MailCase{"ComposeFails",
                             "Compose",
                             {"SignOn", "SessionID", "SetSessionID 77", "Compose", "SignOff"}},
                    MailCase{"AddressFails", "SetRecipAddress", kAllCalls},
                    MailCase{"DisplayNameFails", "SetRecipDisplayName", kAllCalls},
                    MailCase{"SendCancelledOrFailed", "SetAction", kAllCalls},
                    MailCase{"SignOffFails", "SignOff", kAllCalls}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(frmAbout, OnlyALeftClickOnTheAddressComposesAMail) {
    Fakes fakes;
    frmAbout form(fakes.services, nullptr);
    form.show();
    QTest::mouseClick(form.Label2, Qt::RightButton);
    QTest::mouseClick(form.lblCopyright, Qt::LeftButton);
    EXPECT_TRUE(fakes.mail.calls.empty());
}

TEST(frmAbout, SystemInfoStartsTheToolOrSaysItIsUnavailable) {
    Fakes fakes;
    frmAbout form(fakes.services, nullptr);
    form.show();
    QTest::mouseClick(form.cmdSysInfo, Qt::LeftButton);
    EXPECT_EQ(fakes.messages.shown, QStringList{"System Information Is Unavailable At This Time"});
    EXPECT_TRUE(form.isVisible());

    fakes.registry.keys.SetValue("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "PATH",
                                 TextValue("/opt/info"));
    QTest::mouseClick(form.cmdSysInfo, Qt::LeftButton);
    EXPECT_EQ(fakes.programs.started, std::vector<std::string>{"/opt/info style 1"});
    EXPECT_EQ(fakes.messages.shown.size(), 1);
    EXPECT_TRUE(form.isVisible());

    std::string keyVal;
    EXPECT_TRUE(form.GetKeyValue(kHKeyLocalMachine, "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO",
                                 "PATH", keyVal));
    EXPECT_EQ(keyVal, "/opt/info");
}

}  // namespace
