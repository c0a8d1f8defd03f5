#include "views/ViewTest.h"
#include "support/ScopedAddresses.h"
#include "views/ink/ElidedLabel.h"
#include "views/ink/InkButton.h"
#include "views/reading/HowToView.h"

#include <QDesktopServices>
#include <QScrollArea>
#include <QTest>

namespace {

// Stands in for the desktop's browser while a test runs.
class Browser : public QObject
{
    Q_OBJECT
public:
    Browser()
    {
        QDesktopServices::setUrlHandler(QStringLiteral("https"), this, "open");
        QDesktopServices::setUrlHandler(QStringLiteral("http"), this, "open");
    }
    ~Browser() override
    {
        QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
        QDesktopServices::unsetUrlHandler(QStringLiteral("http"));
    }
    QList<QUrl> opened;

public slots:
    void open(const QUrl &url) { opened << url; }
};

using HowToViewTest = ViewTest;

InkButton *button(QWidget &view, const char *name)
{
    return view.findChild<InkButton *>(QString::fromLatin1(name));
}

// The calendar button shows only when the page was given a way to the
// settings, and takes that way; the site button is there when the build
// names a web page and opens it in the browser (not from a still picture).
TEST_F(HowToViewTest, ButtonsOpenTheSettingsAndTheMakersPage)
{
    ScopedAddresses addresses;
    Browser browser;
    HowToView view(ViewContext{});
    view.resize(460, 620);
    view.show();
    ASSERT_NE(button(view, "howto.calendar"), nullptr);
    EXPECT_FALSE(button(view, "howto.calendar")->isVisibleTo(&view));
    ASSERT_TRUE(button(view, "howto.site")->isVisibleTo(&view));

    int settingsOpened = 0;
    view.setOpenSettings([&] { ++settingsOpened; });
    EXPECT_TRUE(button(view, "howto.calendar")->isVisibleTo(&view));
    QTest::mouseClick(button(view, "howto.calendar"), Qt::LeftButton);
    EXPECT_EQ(settingsOpened, 1);

    QTest::mouseClick(button(view, "howto.site"), Qt::LeftButton);
    EXPECT_EQ(browser.opened, QList<QUrl>{HowTo::siteURL()});

    HowToView still(ViewContext{nullptr, true, std::nullopt});
    QTest::mouseClick(button(still, "howto.site"), Qt::LeftButton);
    EXPECT_EQ(browser.opened.size(), 1) << "a still picture opens nothing";
}

TEST_F(HowToViewTest, WithoutAWebPageThereIsNoSiteButton)
{
    ScopedAddresses none{ProjectAddresses{}};
    HowToView view(ViewContext{});
    EXPECT_EQ(button(view, "howto.site"), nullptr);
}

TEST_F(HowToViewTest, OnlyWebAddressesGoToTheBrowser)
{
    Browser browser;
    const struct
    {
        const char *url;
        bool opens;
    } cases[] = {
        {"https://example.org/", true},    {"http://example.org/a", true},    {"HTTPS://example.org/", true},
        {"file:///etc/passwd", false},      {"javascript:alert(1)", false},   {"mailto:a@example.org", false},
        {"https:///no-host", false},        {"ftp://example.org/", false},    {"", false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.url);
        const qsizetype before = browser.opened.size();
        EXPECT_EQ(HowToView::openWeb(QUrl(QString::fromLatin1(c.url))), c.opens);
        EXPECT_EQ(browser.opened.size() - before, c.opens ? 1 : 0);
    }
}

// In both languages and at the largest text, a still picture lays out all
// 28 lines uncut, inside the page, without a scroll view; in use the page
// scrolls inside the sheet.
TEST_F(HowToViewTest, EveryLineIsOnThePageInBothLanguages)
{
    for (bool japanese : {true, false}) {
        for (double scale : {1.0, 1.6}) {
            SCOPED_TRACE(std::string(japanese ? "ja " : "en ") + std::to_string(scale));
            Lang::setForTesting(japanese);
            Kiv::setScale(scale);
            const QList<HowTo::Section> sections = HowTo::build();
            const int width = int(460 * scale);

            HowToView still(ViewContext{nullptr, true, std::nullopt}, sections);
            EXPECT_EQ(still.findChild<QScrollArea *>(), nullptr);
            ASSERT_TRUE(still.hasHeightForWidth());
            still.resize(width, still.heightForWidth(width));
            still.show();
            QStringList texts;
            for (ElidedLabel *line : still.findChildren<ElidedLabel *>(QStringLiteral("howto.line"))) {
                texts << line->text();
                EXPECT_FALSE(line->isElidedAt(line->width())) << line->text().toStdString();
                EXPECT_GE(line->height(), line->heightForWidth(line->width())) << line->text().toStdString();
                const QRect inView(line->mapTo(&still, QPoint(0, 0)), line->size());
                EXPECT_TRUE(still.rect().contains(inView)) << line->text().toStdString();
            }
            QStringList expected;
            for (const HowTo::Section &s : sections)
                expected << s.lines;
            EXPECT_EQ(texts, expected);
            EXPECT_EQ(texts.size(), 28);

            HowToView sheet(ViewContext{}, sections);
            sheet.resize(width, int(620 * scale));
            sheet.show();
            auto *scroll = sheet.findChild<QScrollArea *>();
            ASSERT_NE(scroll, nullptr);
            EXPECT_GT(scroll->widget()->height(), scroll->viewport()->height()) << "the page scrolls";
            EXPECT_LE(scroll->widget()->width(), scroll->viewport()->width()) << "never sideways";
        }
    }
}

} // namespace

#include "HowToViewTest.moc"
