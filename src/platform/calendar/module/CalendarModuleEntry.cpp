// What the calendar module offers the program: calendar files read and made
// over libical. The program loads the module (and with it libical) only when
// a calendar file is first read or made; see CalendarModule.
#include "platform/calendar/CalendarModule.h"
#include "platform/calendar/module/IcalFile.h"

namespace {

IcalDocument *parse(const QByteArray &bytes, int form)
{
    const IcalFile::Form forms[] = {IcalFile::Form::Whole, IcalFile::Form::Reading, IcalFile::Form::Index};
    return IcalFile::parse(bytes, forms[std::clamp(form, 0, 2)]).release();
}

IcalDocument *create(int kind, const QString &uid, const QDateTime &now)
{
    return IcalFile::create(kind == 1 ? IcalDocument::Kind::Todo : IcalDocument::Kind::Event, uid, now).release();
}

const CalendarModule::Entry kEntry{&parse, &create};

} // namespace

extern "C" Q_DECL_EXPORT const CalendarModule::Entry *quillmere_calendar_module()
{
    return &kEntry;
}
