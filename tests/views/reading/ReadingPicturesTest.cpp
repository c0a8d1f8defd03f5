// Still pictures of the introduction's pages and the how-to page, in both
// languages, light and dark, at text scale 1.0 and 1.6 (and one set at
// twice the pixel ratio), written to <build>/snapshots/reading for looking
// at; each also checked for the few pixels that tell it is drawn right.
#include "views/ViewTest.h"
#include "views/ink/StillPicture.h"
#include "views/reading/HowToView.h"
#include "views/reading/IntroPageBody.h"
#include "views/reading/IntroView.h"

#include <cmath>

namespace {

const QString kFolder = QStringLiteral(QUILLMERE_BUILD_DIR "/snapshots/reading");

QList<StillPicture::Setting> settings()
{
    using A = Kiv::Appearance;
    QList<StillPicture::Setting> out = StillPicture::everySetting();
    out.append({A::light, 1.0, true, 2.0});
    out.append({A::dark, 1.0, false, 2.0});
    return out;
}

double darkness(QColor c)
{
    return 1.0 - c.lightnessF();
}

QColor at(const QImage &image, QPointF logical)
{
    const double dpr = image.devicePixelRatio();
    return image.pixelColor(int(logical.x() * dpr), int(logical.y() * dpr));
}

using ReadingPicturesTest = ViewTest;

TEST_F(ReadingPicturesTest, EveryIntroductionPage)
{
    for (const StillPicture::Setting &s : settings()) {
        StillPicture::Applied applied(s);
        const QList<Intro::Page> pages = Intro::build();
        for (const Intro::Page &page : pages) {
            IntroView view(ViewContext{nullptr, true, page.id}, pages);
            view.setPalette(Kiv::palette(s.appearance));
            view.resize(QSize(380, 740).expandedTo(view.minimumSizeHint()));
            view.show();
            const QImage image = StillPicture::grab(&view, s.devicePixelRatio);
            ASSERT_TRUE(StillPicture::save(image, kFolder,
                                           QStringLiteral("intro-%1-%2").arg(page.id).arg(s.tag())));

            // The current page's dot is the one in ink; the others are ghosts.
            auto *dots = view.findChild<QWidget *>(QStringLiteral("intro.dots"));
            ASSERT_NE(dots, nullptr);
            const QPointF origin = dots->mapTo(&view, QPointF(0, 0));
            const QColor paper = at(image, origin + QPointF(-6, 2.5));
            for (int i = 0; i < int(pages.size()); ++i) {
                const QColor dot = at(image, origin + QPointF(i * 12 + 2.5, 2.5));
                const double contrast = std::abs(darkness(dot) - darkness(paper));
                if (i == page.id)
                    EXPECT_GT(contrast, 0.3) << s.tag().toStdString() << " dot " << i;
                else
                    EXPECT_LT(contrast, 0.3) << s.tag().toStdString() << " dot " << i;
            }
        }
    }
}

TEST_F(ReadingPicturesTest, TheHowToPage)
{
    for (const StillPicture::Setting &s : settings()) {
        StillPicture::Applied applied(s);
        const QList<HowTo::Section> sections = HowTo::build();
        // As the sheet shows it: with the way to the settings.
        HowToView still(ViewContext{nullptr, true, std::nullopt}, sections);
        still.setOpenSettings([] {});
        still.setPalette(Kiv::palette(s.appearance));
        const int width = int(std::round(460 * s.scale));
        still.resize(width, still.heightForWidth(width));
        still.show();
        ASSERT_TRUE(StillPicture::save(StillPicture::grab(&still, s.devicePixelRatio), kFolder,
                                       QStringLiteral("howto-%1").arg(s.tag())));

        // In use, in its sheet's frame, it scrolls.
        HowToView sheet(ViewContext{}, sections);
        sheet.setPalette(Kiv::palette(s.appearance));
        sheet.resize(width, int(std::round(620 * s.scale)) - 40);
        sheet.show();
        ASSERT_TRUE(StillPicture::save(StillPicture::grab(&sheet, s.devicePixelRatio), kFolder,
                                       QStringLiteral("howto-sheet-%1").arg(s.tag())));
    }
}

} // namespace
