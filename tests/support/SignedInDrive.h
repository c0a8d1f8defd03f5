#pragma once

#include "core/L.h"
#include "platform/files/AppPaths.h"
#include "platform/fakes/FakeClock.h"
#include "platform/net/Http.h"
#include "platform/files/Preferences.h"
#include "support/FakeDrive.h"
#include "support/FakeHttpServer.h"
#include "support/ScopedDirs.h"
#include "sync/DriveSyncStore.h"
#include "sync/GoogleAuth.h"
#include "sync/Keychain.h"
#include "sync/SyncReport.h"

#include <QCoreApplication>
#include <gtest/gtest.h>
#include <functional>
#include <memory>
#include <optional>
#include <type_traits>
#include <utility>

// A fixture signed in to a fake Google on 127.0.0.1: a stored client and
// refresh token ("rt") and a Drive store over it. Service is either a
// scripted FakeHttpServer (whose token endpoint then always grants) or the
// stateful FakeDrive. Time runs on a fake clock; run() spins the event loop
// and moves the clock on whenever nothing is on the wire, so waits pass.
// The random part of the store's waits is 0 unless a test sets another and
// calls makeDrive().
template <class Service>
class SignedInTo : public ::testing::Test
{
protected:
    ScopedDirs dirs;
    FakeClock clock;
    Service server;
    GoogleAuthConfig authConfig;
    DriveSyncConfig driveConfig;
    std::unique_ptr<GoogleAuth> auth;
    std::unique_ptr<DriveSyncStore> drive;

    void SetUp() override
    {
        Lang::setForTesting(true);
        Clock::setCurrent(&clock);
        SyncReport::clearLastError();
        AppPaths::ensureDir(dirs.dataDir());
        Keychain::set(QStringLiteral("client"), QStringLiteral("googleClientID"));
        Keychain::set(QStringLiteral("rt"), QStringLiteral("googleRefreshToken"));
        authConfig.tokenUrl = server.url(QStringLiteral("/token"));
        authConfig.revokeUrl = server.url(QStringLiteral("/revoke"));
        auth = std::make_unique<GoogleAuth>(Preferences::standard(), authConfig);
        if constexpr (std::is_same_v<Service, FakeHttpServer>)
            server.answer("POST", QStringLiteral("/token"), 200, R"({"access_token":"tok","expires_in":3600})");
        driveConfig.host = server.url();
        driveConfig.jitter = [](qint64) { return qint64(0); };
        makeDrive();
    }

    void TearDown() override
    {
        drive.reset();
        auth.reset();
        Clock::setCurrent(nullptr);
        Lang::setForTesting(std::nullopt);
    }

    void makeDrive() { drive = std::make_unique<DriveSyncStore>(auth.get(), driveConfig); }

    // How far run() moves the clock at a time.
    qint64 stepMs = 1000;

    // Runs until done() holds, moving the clock stepMs at a time while
    // nothing is on the wire and something waits on the clock.
    void run(const std::function<bool()> &done)
    {
        for (int i = 0; i < 20000 && !done(); ++i) {
            QCoreApplication::processEvents();
            if (done())
                break;
            if (Http::inFlight() == 0 && clock.pendingCount() > 0)
                clock.advance(stepMs);
            else
                spinUntil(done, 5);
        }
        ASSERT_TRUE(done());
    }

    // The store's loadAll() and save(), run to their end.
    std::pair<QList<QByteArray>, bool> load()
    {
        std::optional<std::pair<QList<QByteArray>, bool>> out;
        drive->loadAll([&](QList<QByteArray> files, bool ok) { out = std::make_pair(files, ok); });
        run([&] { return out.has_value(); });
        return out.value_or(std::make_pair(QList<QByteArray>(), false));
    }
    bool save(const QByteArray &bytes)
    {
        std::optional<bool> out;
        drive->save(bytes, [&](bool ok) { out = ok; });
        run([&] { return out.has_value(); });
        return out.value_or(false);
    }
};

using SignedInDrive = SignedInTo<FakeHttpServer>;
using SignedInFakeDrive = SignedInTo<FakeDrive>;
