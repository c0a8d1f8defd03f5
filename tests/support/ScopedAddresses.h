#pragma once

#include "core/ProjectAddresses.h"

// Gives the program a feed host, a feedback address and a web page for the
// life of one test, all on this machine (a test that fetches from the feed
// host serves it itself); the build's own addresses (none by default) come
// back afterwards.
class ScopedAddresses
{
public:
    static ProjectAddresses local()
    {
        return {QUrl(QStringLiteral("http://127.0.0.1:1")), QStringLiteral("feedback@localhost"),
                QUrl(QStringLiteral("http://127.0.0.1:1/"))};
    }

    explicit ScopedAddresses(const ProjectAddresses &addresses = local())
    {
        ProjectAddresses::setForTesting(addresses);
    }
    ~ScopedAddresses() { ProjectAddresses::setForTesting(std::nullopt); }
    ScopedAddresses(const ScopedAddresses &) = delete;
    ScopedAddresses &operator=(const ScopedAddresses &) = delete;
};
