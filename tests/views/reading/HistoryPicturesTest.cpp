// Still pictures of the history window, the glossary page, the three-minds
// card and its note, in both languages, light and dark, at text scale 1.0
// and 1.6, written to <build>/snapshots/history for looking at.
#include "model/ModelRig.h"
#include "views/ViewTest.h"
#include "views/ink/StillPicture.h"
#include "views/reading/GlossaryRow.h"
#include "views/reading/GlossaryView.h"
#include "views/reading/HistoryDelegate.h"
#include "views/reading/HistoryList.h"
#include "views/reading/HistoryView.h"
#include "views/reading/SanshinNote.h"
#include "views/timer/IsshinView.h"

#include <QCoreApplication>
#include <QPainter>
#include <cmath>

namespace {

const QString kFolder = QStringLiteral(QUILLMERE_BUILD_DIR "/snapshots/history");

QList<StillPicture::Setting> settings()
{
    return StillPicture::everySetting();
}

SessionRecord rec(const QString &title, const QDateTime &start, qint64 seconds, Phase phase = Phase::focus,
                  bool completed = true)
{
    return SessionRecord{QUuid::createUuid(), phase, title, start, start.addSecs(seconds), completed,
                         std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt};
}

using HistoryPicturesTest = ViewTest;

TEST_F(HistoryPicturesTest, HistoryWindow)
{
    ModelRigs::Rig rig;
    SessionRecord written = rec(QStringLiteral("原稿を書く"), ModelRigs::at(5, 9, 5), 1500);
    written.calendarEventID = QStringLiteral("event-1");
    rig.store.append(written);
    rig.store.append(rec(QStringLiteral(""), ModelRigs::at(5, 9, 30), 300, Phase::shortBreak));
    rig.store.append(rec(QStringLiteral("見積もりの返事"), ModelRigs::at(5, 10, 0), 1200, Phase::focus, false));
    rig.store.append(rec(QStringLiteral("とても長い題目の作務がここに入って行の幅を越えてしまうときの見え方"),
                         ModelRigs::at(5, 14, 0), 3000));
    rig.store.append(rec(QStringLiteral("読書"), ModelRigs::at(4, 21, 0), 1500));
    rig.store.append(rec(QStringLiteral(""), ModelRigs::at(4, 21, 30), 900, Phase::longBreak));
    rig.store.append(rec(QStringLiteral("夜の片づけ"), ModelRigs::at(3, 23, 50), 1800));
    AppModel &model = rig.build();

    for (const StillPicture::Setting &s : settings()) {
        StillPicture::Applied applied(s);
        HistoryView still(ViewContext{&model, true, std::nullopt, nullptr});
        still.setPalette(Kiv::palette(s.appearance));
        still.resize(460, 520);
        still.show();
        // A hovered row without an event shows its export button.
        still.list()->delegate()->setHoverRow(3);
        QCoreApplication::processEvents();
        ASSERT_TRUE(StillPicture::save(StillPicture::grab(&still, s.devicePixelRatio), kFolder,
                                       QStringLiteral("history-%1").arg(s.tag())));

        // In use, scrolled: the day at the top stays pinned.
        HistoryView window(ViewContext{&model, false, std::nullopt, nullptr});
        window.setPalette(Kiv::palette(s.appearance));
        window.resize(460, 300);
        window.show();
        for (int i = 0; i < 20; ++i)
            QCoreApplication::processEvents();
        window.list()->scrollTo(window.rows()->index(3), QAbstractItemView::PositionAtTop);
        QCoreApplication::processEvents();
        ASSERT_TRUE(StillPicture::save(StillPicture::grab(&window, s.devicePixelRatio), kFolder,
                                       QStringLiteral("history-scrolled-%1").arg(s.tag())));
    }
}

TEST_F(HistoryPicturesTest, EmptyHistory)
{
    ModelRigs::Rig rig;
    AppModel &model = rig.build();
    for (const StillPicture::Setting &s : settings()) {
        StillPicture::Applied applied(s);
        HistoryView still(ViewContext{&model, true, std::nullopt, nullptr});
        still.setPalette(Kiv::palette(s.appearance));
        still.resize(460, 520);
        still.show();
        ASSERT_TRUE(StillPicture::save(StillPicture::grab(&still, s.devicePixelRatio), kFolder,
                                       QStringLiteral("history-empty-%1").arg(s.tag())));
    }
}

TEST_F(HistoryPicturesTest, GlossaryPage)
{
    for (const StillPicture::Setting &s : settings()) {
        StillPicture::Applied applied(s);
        GlossaryView still(ViewContext{nullptr, true, std::nullopt, nullptr}, Glossary::build());
        still.setPalette(Kiv::palette(s.appearance));
        // The second row open, as after a click.
        still.findChildren<GlossaryRow *>(QStringLiteral("glossary.row")).at(1)->toggle();
        const int width = int(std::round(440 * s.scale));
        still.resize(width, still.heightForWidth(width));
        still.show();
        ASSERT_TRUE(StillPicture::save(StillPicture::grab(&still, s.devicePixelRatio), kFolder,
                                       QStringLiteral("glossary-%1").arg(s.tag())));
    }
}

TEST_F(HistoryPicturesTest, ThreeMindsCardAndNote)
{
    for (const StillPicture::Setting &s : settings()) {
        StillPicture::Applied applied(s);
        for (Isshin::Case c : Isshin::allCases()) {
            IsshinView card(ViewContext{nullptr, true, std::nullopt, nullptr});
            card.setIsshin(c);
            const QImage image = StillPicture::paint(QSize(420, card.sizeHint().height() + 40), s.devicePixelRatio,
                                                     [&](QPainter &painter, QSizeF size) {
                                                         painter.fillRect(QRectF(QPointF(), size), Kiv::paper());
                                                         painter.translate(0, 20);
                                                         IsshinView::draw(painter, QSizeF(size.width(), size.height() - 40), c);
                                                     });
            ASSERT_TRUE(StillPicture::save(image, kFolder, QStringLiteral("isshin-%1-%2").arg(int(c)).arg(s.tag())));
        }
        SanshinNote note(ViewContext{nullptr, true, std::nullopt, nullptr}, Isshin::roshin, {},
                         Glossary::entry(Glossary::build(), Isshin::glossaryKey()));
        note.setPalette(Kiv::palette(s.appearance));
        note.resize(SanshinNote::noteWidth(), note.sizeHint().height());
        note.show();
        ASSERT_TRUE(StillPicture::save(StillPicture::grab(&note, s.devicePixelRatio), kFolder,
                                       QStringLiteral("sanshin-note-%1").arg(s.tag())));
    }
}

} // namespace
