#include "platform/net/Http.h"

#include "platform/net/NetModule.h"
#include "platform/time/Clock.h"

#include <QPointer>

namespace {
int g_inFlight = 0;
} // namespace

QByteArray HttpResult::header(const QByteArray &name) const
{
    for (const auto &h : headers)
        if (h.first.compare(name, Qt::CaseInsensitive) == 0)
            return h.second;
    return {};
}

namespace Http {

int inFlight()
{
    return g_inFlight;
}

void send(const HttpRequest &request, QObject *context, Done done)
{
    const bool hasContext = context != nullptr;
    QPointer<QObject> guard(context);
    auto finished = [guard, hasContext, done](const HttpResult &result) {
        --g_inFlight;
        if (hasContext && !guard)
            return;
        done(result);
    };
    ++g_inFlight;

    const NetModule::Entry *module = nullptr;
    HttpResult refused;
    if (!request.url.isValid() || request.url.scheme().isEmpty()) {
        refused.failure = NetFailure::BadUrl;
        refused.description = QStringLiteral("invalid address");
    } else if (!(module = NetModule::entry())) {
        refused.failure = NetFailure::CannotConnectToHost;
        refused.description = QStringLiteral("no network module");
    }
    if (!module) {
        // Nothing can be sent; answer on the next turn of the event loop so
        // callers always see an asynchronous completion.
        Clock::current().schedule(0, [finished, refused] { finished(refused); });
        return;
    }
    module->send(request, &Clock::current, finished);
}

} // namespace Http
