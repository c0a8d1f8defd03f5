#include "platform/calendar/IcalDocument.h"

#include "platform/calendar/CalendarModule.h"

namespace {

std::unique_ptr<IcalDocument> parsed(const QByteArray &bytes, int form)
{
    const CalendarModule::Entry *module = CalendarModule::entry();
    return std::unique_ptr<IcalDocument>(module ? module->parse(bytes, form) : nullptr);
}

} // namespace

std::unique_ptr<IcalDocument> IcalDocument::parse(const QByteArray &bytes)
{
    return parsed(bytes, 0);
}

std::unique_ptr<IcalDocument> IcalDocument::parseForReading(const QByteArray &bytes)
{
    return parsed(bytes, 1);
}

std::unique_ptr<IcalDocument> IcalDocument::parseForIndex(const QByteArray &bytes)
{
    return parsed(bytes, 2);
}

std::unique_ptr<IcalDocument> IcalDocument::create(Kind kind, const QString &uid, const QDateTime &now)
{
    const CalendarModule::Entry *module = CalendarModule::entry();
    return std::unique_ptr<IcalDocument>(module ? module->create(kind == Kind::Todo ? 1 : 0, uid, now) : nullptr);
}
