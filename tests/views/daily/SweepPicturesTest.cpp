// Still pictures of every step of the sweep, in Japanese and English, light
// and dark, at text scale 1.0 and 1.6, written to <build>/snapshots/daily
// for looking at.
#include "views/daily/SweepFixture.h"

#include "views/ink/StillPicture.h"

#include <cmath>

namespace {

const QString kFolder = QStringLiteral(QUILLMERE_BUILD_DIR "/snapshots/daily");

using Step = AppModel::SweepStep;

struct SweepPicturesTest : SweepFixture
{
};

TEST_F(SweepPicturesTest, EveryStep)
{
    rig->local.add(QStringLiteral("冬物の衣類を、まとめて寄付に出す段取りを決める"));
    rig->local.add(QStringLiteral("税の書類"));
    rig->local.add(QStringLiteral("Call the piano tuner"));
    rig->days.setGuide(QStringLiteral("朝の三十分を、書くことにあてる"), ModelRigs::at(14, 8));
    rig->days.setIntention(QStringLiteral("棚をひとつ片づける"), ModelRigs::at(15, 8));
    rig->days.setReflection(QStringLiteral("思ったより静かな一日だった"), ModelRigs::at(15, 21));
    rig->days.setReflection(QStringLiteral("手紙を二通書いた。長く置いていたもの。"), ModelRigs::at(17, 21));
    const struct
    {
        const char *title;
        int day;
        int minutes;
    } rounds[] = {{"手紙", 15, 100}, {"庭の手入れ", 16, 50}, {"Reading", 17, 25}};
    for (const auto &r : rounds) {
        SessionRecord record;
        record.id = QUuid::createUuid();
        record.title = QString::fromUtf8(r.title);
        record.start = ModelRigs::at(r.day, 10);
        record.end = record.start.addSecs(r.minutes * 60);
        record.completed = true;
        rig->store.append(record);
    }
    build();
    const QList<LocalTask> targets = quiet;
    ASSERT_EQ(targets.size(), 3);
    view.reset();

    const struct
    {
        const char *name;
        Step step;
    } steps[] = {{"opening", Step::opening()}, {"looking", Step::looking()}, {"asking", Step::asking(0)},
                 {"tidying", Step::tidying()}, {"resting", Step::resting()}, {"standing", Step::standing()}};
    using A = Kiv::Appearance;
    for (bool japanese : {true, false})
        for (A a : {A::light, A::dark})
            for (double scale : {1.0, 1.6}) {
                const StillPicture::Setting setting{a, scale, japanese, 1.0};
                StillPicture::Applied applied(setting);
                for (const auto &s : steps) {
                    model->setSweeping(AppModel::Sweeping{s.step, targets});
                    ViewContext context;
                    context.model = model;
                    context.snapshot = true;
                    SweepView still(context);
                    still.setPalette(Kiv::palette(a));
                    still.resize(QSize(int(520 * std::sqrt(scale)), int(760 * scale)).expandedTo(still.minimumSizeHint()));
                    still.show();
                    QCoreApplication::processEvents();
                    const QImage image = StillPicture::grab(&still, 1.0);
                    ASSERT_TRUE(StillPicture::save(image, kFolder,
                                                   QStringLiteral("sweep-%1-%2").arg(QLatin1String(s.name), setting.tag())));
                }
            }
}

} // namespace
