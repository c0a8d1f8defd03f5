#pragma once

#include "core/L.h"
#include "platform/files/AppPaths.h"
#include "platform/fakes/FakeClock.h"
#include "platform/net/Http.h"
#include "platform/files/Preferences.h"
#include "support/FakeHttpServer.h"
#include "support/ScopedDirs.h"
#include "sync/DriveSyncStore.h"
#include "sync/GoogleAuth.h"
#include "sync/Keychain.h"
#include "sync/SyncReport.h"

#include <gtest/gtest.h>
#include <functional>
#include <memory>

// A fixture signed in to a fake Drive on 127.0.0.1: a stored client and
// refresh token, a token endpoint that always grants, and a Drive store over
// it. Time runs on a fake clock; run() spins the event loop and moves the
// clock on whenever nothing is on the wire, so retry waits pass.
class SignedInDrive : public ::testing::Test
{
protected:
    ScopedDirs dirs;
    FakeClock clock;
    FakeHttpServer server;
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
        GoogleAuthConfig authConfig;
        authConfig.tokenUrl = server.url(QStringLiteral("/token"));
        auth = std::make_unique<GoogleAuth>(Preferences::standard(), authConfig);
        server.answer("POST", QStringLiteral("/token"), 200, R"({"access_token":"tok","expires_in":3600})");
        DriveSyncConfig config;
        config.host = server.url();
        drive = std::make_unique<DriveSyncStore>(auth.get(), config);
    }

    void TearDown() override
    {
        drive.reset();
        auth.reset();
        Clock::setCurrent(nullptr);
        Lang::setForTesting(std::nullopt);
    }

    void run(const std::function<bool()> &done)
    {
        for (int i = 0; i < 2000 && !done(); ++i) {
            spinUntil(done, 5);
            if (!done() && Http::inFlight() == 0 && clock.pendingCount() > 0)
                clock.advance(1000);
        }
        ASSERT_TRUE(done());
    }
};
