#include "model/AppModel.h"
#include "sound/Chime.h"
#include "support/LanguageFixtures.h"
#include "ModelRig.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
using namespace ModelRigs;
struct AppModelStartUp : InJapanese
{
};
} // namespace

TEST_F(AppModelStartUp, SaysOnceThatAnUnreadableHistoryWasKeptAside)
{
    // The history outlives the rig's model, which holds on to it.
    QTemporaryDir other;
    {
        QFile broken(other.path() + QStringLiteral("/sessions.json"));
        ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
        broken.write("[{\"id\": ");
    }
    SessionStore history(other.path());
    Rig rig;
    rig.sessionsOverride = &history;
    AppModel &model = rig.build();

    ASSERT_TRUE(model.notice().has_value());
    EXPECT_TRUE(model.notice()->contains(QStringLiteral("sessions.json.unreadable-"))) << model.notice()->toStdString();
    EXPECT_EQ(QDir(other.path()).entryList({QStringLiteral("sessions.json.unreadable-*")}).size(), 1);
    rig.clock.advance(5000);
    EXPECT_FALSE(model.notice().has_value()) << "the notice clears itself";
}

TEST_F(AppModelStartUp, TheBellThatRingsFollowsTheSetting)
{
    Rig rig;
    rig.build();
    rig.settings.setBell(QStringLiteral("Keisu"));
    EXPECT_EQ(Chime::kind, ChimeBell::keisu);
    rig.settings.setBell(QStringLiteral("Bonsho"));
    EXPECT_EQ(Chime::kind, ChimeBell::temple);
}
