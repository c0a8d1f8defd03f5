// Still pictures of the screens of choosing a round (the mode selection, the
// rounds picker, the task picker and the preparation), in both languages,
// light and dark, at text scale 1.0 and 1.6, written to
// <build>/snapshots/timer for looking at; each also checked for the few
// pixels that tell it is drawn right.
#include "views/timer/ChoosingFixture.h"

#include "core/PomodoroEngine.h"
#include "views/ink/StillPicture.h"
#include "views/timer/ModeRow.h"
#include "views/timer/ModeSelectionView.h"
#include "views/timer/PreparationView.h"
#include "views/timer/RoundsPicker.h"
#include "views/timer/TaskPicker.h"

namespace {

const QString kFolder = QStringLiteral(QUILLMERE_BUILD_DIR "/snapshots/timer");

QList<StillPicture::Setting> settings()
{
    return StillPicture::everySetting();
}

struct ChoosingPicturesTest : ChoosingFixture
{
    // A hub as a user keeps it: one task overdue, one due today and placed
    // tomorrow, two without a date, one daily practice.
    void fill()
    {
        const QDateTime now = rig->clock.now();
        task(QStringLiteral("原稿の第三章を書く"), now.addDays(-1));
        const TodoItem letter = task(QStringLiteral("見積もりに返信する"), now.addSecs(3 * 3600));
        if (const std::optional<LocalTask> local = model->localTask(letter.ref))
            model->placeOnDay(*local, now.addDays(1));
        task(QStringLiteral("本棚を片づける"));
        task(QStringLiteral("Read the long article on rivers"));
        practice(QStringLiteral("朝の坐禅"));
    }

    QImage picture(QWidget &widget, const StillPicture::Setting &s, QSize size)
    {
        widget.setPalette(Kiv::palette(s.appearance));
        // Laid out twice: wrapping texts learn their height at the final width.
        for (int pass = 0; pass < 2; ++pass) {
            QSize fitted = size;
            if (widget.hasHeightForWidth())
                fitted.setHeight(std::max(size.height(), widget.heightForWidth(size.width())));
            widget.resize(fitted.expandedTo(widget.minimumSizeHint()));
            widget.show();
            QCoreApplication::processEvents();
        }
        return StillPicture::grab(&widget, s.devicePixelRatio);
    }
    void save(const QImage &image, const QString &name, const StillPicture::Setting &s)
    {
        ASSERT_TRUE(StillPicture::save(image, kFolder, name + QLatin1Char('-') + s.tag()));
    }
    static QColor at(const QImage &image, QPointF logical)
    {
        const double dpr = image.devicePixelRatio();
        return image.pixelColor(int(logical.x() * dpr), int(logical.y() * dpr));
    }
};

TEST_F(ChoosingPicturesTest, TheModeSelection)
{
    rig->engine().setTaskTitle(QStringLiteral("原稿を書く"));
    for (const StillPicture::Setting &s : settings()) {
        StillPicture::Applied applied(s);
        Lang::setForTesting(s.japanese);
        ModeSelectionView view(context(true));
        const QImage image = picture(view, s, QSize(420, 780));
        save(image, QStringLiteral("mode-selection"), s);
        // The cards are raised paper, lighter (or darker) than the page.
        ModeRow *card = view.cards().first();
        const QPoint inside = card->mapTo(&view, QPoint(card->width() - 10, card->height() / 2));
        EXPECT_NE(at(image, inside), at(image, QPointF(2, inside.y()))) << s.tag().toStdString();
    }
}

TEST_F(ChoosingPicturesTest, ThePickers)
{
    fill();
    for (const StillPicture::Setting &s : settings()) {
        StillPicture::Applied applied(s);
        Lang::setForTesting(s.japanese);
        {
            RoundsPicker picker(context(true));
            picker.show();
            clickRow(picker.list(), picker.list()->foldRow());
            clickRow(picker.list(), picker.list()->rowOf(QStringLiteral("見積もりに返信する")));
            clickRow(picker.list(), picker.list()->rowOf(QStringLiteral("朝の坐禅")));
            const QImage image = picture(picker, s, QSize(picker.width(), 0));
            save(image, QStringLiteral("rounds-picker"), s);
        }
        {
            RoundsPicker empty(ViewContext{});
            save(picture(empty, s, QSize(empty.width(), 0)), QStringLiteral("rounds-picker-empty"), s);
        }
        {
            TaskPicker picker(context(true));
            const QImage image = picture(picker, s, QSize(picker.width(), 0));
            save(image, QStringLiteral("task-picker"), s);
            // Raised paper behind the chooser.
            EXPECT_EQ(at(image, QPointF(2, 2)).rgb(), Kiv::paperRaised().rgb()) << s.tag().toStdString();
        }
    }
}

TEST_F(ChoosingPicturesTest, ThePreparation)
{
    rig->settings.setPrepares(true);
    rig->engine().setTaskTitle(QStringLiteral("原稿を書く"));
    for (const StillPicture::Setting &s : settings()) {
        StillPicture::Applied applied(s);
        Lang::setForTesting(s.japanese);
        model->cancelPreparation();
        rig->clock.advance(AppModel::kPreparationGapSeconds * 1000 + 1000);
        model->begin(Mode::quick);
        PreparationView view(context(true));
        save(picture(view, s, QSize(420, 640)), QStringLiteral("preparation-body"), s);
        rig->clock.advance(4000);
        save(picture(view, s, QSize(420, 640)), QStringLiteral("preparation-breath"), s);
    }
    model->cancelPreparation();
}

} // namespace
