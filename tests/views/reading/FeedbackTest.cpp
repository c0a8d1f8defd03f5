#include "support/LanguageFixtures.h"
#include "platform/fakes/FakeDesktop.h"
#include "support/ScopedAddresses.h"
#include "views/reading/Feedback.h"

#include <QUrlQuery>
#include <gtest/gtest.h>

namespace {

// A version and a system name holding the characters that would cut a
// loosely escaped mail link short or change it: space, +, &, =, #, %, /, ().
const QString version = QStringLiteral("1.0 beta+1&x=#%");
const QString system = QStringLiteral("Debian GNU/Linux 12 (bookworm)");

void expectReadsBack(const QUrl &url, const QString &subject, const QString &body)
{
    const QUrlQuery query(url);
    EXPECT_EQ(query.queryItems(QUrl::FullyDecoded).size(), 2);
    EXPECT_EQ(query.queryItemValue(QStringLiteral("subject"), QUrl::FullyDecoded), subject);
    EXPECT_EQ(query.queryItemValue(QStringLiteral("body"), QUrl::FullyDecoded), body);
}

TEST_F(InEnglish, FeedbackMailLinkEscapesEverythingItCarries)
{
    ScopedAddresses addresses;
    const std::optional<QUrl> url = Feedback::mailURL(version, QStringLiteral("Linux"), system);
    ASSERT_TRUE(url);
    EXPECT_EQ(url->toEncoded(),
              QByteArray("mailto:feedback@localhost?subject=About%20Ondrevel&body=%0A%0A"
                         "%E2%94%80%E2%94%80%E2%94%80%E2%94%80%E2%94%80%E2%94%80"
                         "%E2%94%80%E2%94%80%E2%94%80%E2%94%80%E2%94%80%E2%94%80"
                         "%0APlease%20write%20above%20this%20line.%0ANothing%20from%20your%20history%20or%20tasks"
                         "%20is%20sent%20to%20us.%0AVersion%201.0%20beta%2B1%26x%3D%23%25%20%28Linux%20%E3%83%BB"
                         "%20Debian%20GNU%2FLinux%2012%20%28bookworm%29%29"));
    expectReadsBack(*url, QStringLiteral("About Ondrevel"),
                    QStringLiteral("\n\n────────────\nPlease write above this line.\n"
                                   "Nothing from your history or tasks is sent to us.\n"
                                   "Version 1.0 beta+1&x=#% (Linux ・ Debian GNU/Linux 12 (bookworm))"));
    EXPECT_FALSE(Feedback::formURL(version, QStringLiteral("Linux"), QString()));
}

TEST_F(InJapanese, FeedbackMailLinkEscapesEverythingItCarries)
{
    ScopedAddresses addresses;
    const std::optional<QUrl> url = Feedback::mailURL(version, QStringLiteral("Linux"), system);
    ASSERT_TRUE(url);
    EXPECT_EQ(url->toEncoded(),
              QByteArray("mailto:feedback@localhost?subject=Ondrevel%E3%81%AB%E3%81%A4%E3%81%84%E3%81%A6"
                         "&body=%0A%0A%E2%94%80%E2%94%80%E2%94%80%E2%94%80%E2%94%80%E2%94%80"
                         "%E2%94%80%E2%94%80%E2%94%80%E2%94%80%E2%94%80%E2%94%80%0A"
                         "%E3%81%93%E3%81%93%E3%81%8B%E3%82%89%E4%B8%8A%E3%81%AB%E3%80%81%E3%81%8A%E6%9B%B8"
                         "%E3%81%8D%E3%81%8F%E3%81%A0%E3%81%95%E3%81%84%E3%80%82%0A%E8%A8%98%E9%8C%B2%E3%82%84"
                         "%E4%BD%9C%E5%8B%99%E3%81%AE%E4%B8%AD%E8%BA%AB%E3%81%AF%E3%80%81%E3%81%93%E3%81%A1"
                         "%E3%82%89%E3%81%AB%E3%81%AF%E9%80%81%E3%82%89%E3%82%8C%E3%81%BE%E3%81%9B%E3%82%93"
                         "%E3%80%82%0A%E7%89%88%201.0%20beta%2B1%26x%3D%23%25%EF%BC%88Linux%20%E3%83%BB%20Debian"
                         "%20GNU%2FLinux%2012%20%28bookworm%29%EF%BC%89"));
    expectReadsBack(*url, QStringLiteral("Ondrevelについて"),
                    QStringLiteral("\n\n────────────\nここから上に、お書きください。\n"
                                   "記録や作務の中身は、こちらには送られません。\n"
                                   "版 1.0 beta+1&x=#%（Linux ・ Debian GNU/Linux 12 (bookworm)）"));
}

TEST_F(InEnglish, FeedbackNamesTheRunningSystemAndTheAddressWhenNoMailProgramOpens)
{
    ScopedAddresses addresses;
    EXPECT_FALSE(Feedback::system().trimmed().isEmpty());
    // A program without a version writes "?".
    const std::optional<QUrl> url = Feedback::address(QString());
    ASSERT_TRUE(url);
    EXPECT_TRUE(QUrlQuery(*url)
                    .queryItemValue(QStringLiteral("body"), QUrl::FullyDecoded)
                    .endsWith(QStringLiteral("Version ? (Linux ・ ") + Feedback::system() + QLatin1Char(')')));
    EXPECT_EQ(Feedback::noMailProgramNotice(),
              QStringLiteral("Your mail app couldn’t be opened. Please write to feedback@localhost."));
}

// Sending hands the mail link to the desktop; when no mail program takes
// it, the notice names the address instead of nothing happening.
class NoMailProgram : public FakeDesktop
{
public:
    bool openUrl(const QUrl &url) override
    {
        FakeDesktop::openUrl(url);
        return false;
    }
};

TEST_F(InEnglish, SendingTellsWhenNoMailProgramOpensTheLink)
{
    ScopedAddresses addresses;
    QStringList told;
    const auto tell = [&](const QString &text) { told << text; };

    FakeDesktop desk;
    EXPECT_TRUE(Feedback::send(QStringLiteral("1.2"), desk, tell));
    ASSERT_EQ(desk.openedUrls().size(), 1);
    EXPECT_EQ(desk.openedUrls().first(), *Feedback::address(QStringLiteral("1.2")));
    EXPECT_TRUE(told.isEmpty());

    NoMailProgram none;
    EXPECT_FALSE(Feedback::send(QStringLiteral("1.2"), none, tell));
    EXPECT_EQ(none.openedUrls().size(), 1);
    EXPECT_EQ(told, QStringList{Feedback::noMailProgramNotice()});
}

// A build with no feedback address has nowhere to send: no link, and a
// press (there is no row to press) opens nothing and names no address.
TEST_F(InEnglish, WithoutAnAddressThereIsNoFeedback)
{
    ScopedAddresses none{ProjectAddresses{}};
    EXPECT_FALSE(Feedback::offered());
    EXPECT_FALSE(Feedback::address(QStringLiteral("1.2")));
    QStringList told;
    FakeDesktop desk;
    EXPECT_FALSE(Feedback::send(QStringLiteral("1.2"), desk, [&](const QString &text) { told << text; }));
    EXPECT_TRUE(desk.openedUrls().isEmpty());
    EXPECT_TRUE(told.isEmpty());
}

} // namespace
