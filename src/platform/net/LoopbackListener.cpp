#include "platform/net/LoopbackListener.h"

#include "core/L.h"
#include "platform/net/NetModule.h"
#include "platform/time/Clock.h"

LoopbackListener *LoopbackListener::make(QObject *parent)
{
    const NetModule::Entry *module = NetModule::entry();
    if (!module)
        return nullptr;
    LoopbackListener *listener = module->newLoopbackListener(&Clock::current, answer(true), answer(false));
    if (listener)
        listener->setParent(parent);
    return listener;
}

QByteArray LoopbackListener::answer(bool connected)
{
    const QString message = connected ? L("<h2>つながりました</h2><p>Quillmere に戻ってください。</p>")
                                      : L("<h2>つながりませんでした</h2><p>Quillmere に戻ってください。</p>");
    QByteArray out = "HTTP/1.1 200 OK\r\n"
                     "Content-Type: text/html; charset=utf-8\r\n"
                     "Connection: close\r\n"
                     "\r\n"
                     "<!doctype html><html lang=\"ja\"><meta charset=\"utf-8\"><body style=\"font-family:"
                     "-apple-system;text-align:center;padding:64px;color:#231f1b;background:#f3efe7\">";
    out += message.toUtf8();
    out += "</body></html>";
    return out;
}
