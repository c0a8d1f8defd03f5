#include "core/AppSettings.h"

#include "core/Kiv.h"
#include "core/KivJSON.h"
#include "core/SharedSettings.h"
#include "platform/time/Clock.h"
#include "platform/files/Preferences.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QMetaProperty>
#include <QTimeZone>
#include <algorithm>
#include <cmath>
#include <limits>

namespace {

std::unique_ptr<AppSettings> g_shared;

// Preference keys whose property has another name.
const char *const kVisibleCalendars = "visibleCalendars";
const char *const kPlanCalendar = "planCalendar";
const char *const kSettingsChangedAt = "settingsChangedAt";
const char *const kSettingsUnsent = "settingsUnsent";
const char *const kCarriedOver = "carriedOverFromPersonalID";

// The registered defaults. They live only in memory: a key is written to
// the file only when it is set.
const QJsonObject &registeredDefaults()
{
    static const QJsonObject defaults{
        {QStringLiteral("focusMinutes"), 25},
        {QStringLiteral("shortBreakMinutes"), 5},
        {QStringLiteral("longBreakMinutes"), 15},
        {QStringLiteral("choreMinutes"), 10},
        {QStringLiteral("sessionsUntilLongBreak"), 4},
        {QStringLiteral("autoStartBreak"), true},
        {QStringLiteral("autoStartFocus"), false},
        {QStringLiteral("soundEnabled"), true},
        {QStringLiteral("prepares"), true},
        {QStringLiteral("dayPrompts"), false},
        {QStringLiteral("morningHour"), 8},
        {QStringLiteral("eveningHour"), 21},
        {QStringLiteral("syncPlace"), QStringLiteral("drive")},
        {QStringLiteral("planNotices"), true},
        {QStringLiteral("externalTaskMode"), QStringLiteral("adopt")},
        {QStringLiteral("writeBackToExternal"), true},
        {QStringLiteral("calendarEnabled"), false},
        {QStringLiteral("recordBreaks"), false},
        {QStringLiteral("calendarShowsTitle"), true},
        {QStringLiteral("textScale"), 1.0},
        {QStringLiteral("showSecondsInMenuBar"), true},
        {QStringLiteral("alwaysOnTop"), false},
        {QStringLiteral("focusVisual"), QStringLiteral("incense")},
        {QStringLiteral("ambienceScene"), QStringLiteral("bell")},
        {QStringLiteral("ambienceVolume"), 0.35},
    };
    return defaults;
}

// The property that reads a preference key, for keys whose names differ.
QByteArray propertyForKey(const QString &key)
{
    if (key == QLatin1String(kVisibleCalendars))
        return "visibleCalendarIDs";
    if (key == QLatin1String(kPlanCalendar))
        return "planCalendarIdentifier";
    return key.toUtf8();
}

QJsonValue optionalText(const std::optional<QString> &text)
{
    return text ? QJsonValue(*text) : QJsonValue(QJsonValue::Undefined);
}

// Seconds since 1970 as a number; "never" stores the integer 0.
QJsonValue secondsValue(const std::optional<QDateTime> &at)
{
    return at ? QJsonValue(at->toMSecsSinceEpoch() / 1000.0) : QJsonValue(0);
}

// Clamps a number into [low, high]; NaN takes the lower bound.
double clampNumber(double value, double low, double high)
{
    if (std::isnan(value) || value <= low)
        return low;
    return value > high ? high : value;
}

template<typename E>
std::optional<E> fromRawIn(const QString &raw, std::initializer_list<E> cases)
{
    for (E e : cases)
        if (rawValue(e) == raw)
            return e;
    return std::nullopt;
}

} // namespace

QString rawValue(FocusVisual value)
{
    return value == FocusVisual::ring ? QStringLiteral("ring") : QStringLiteral("incense");
}

QString rawValue(ExternalTaskMode value)
{
    switch (value) {
    case ExternalTaskMode::off:
        return QStringLiteral("off");
    case ExternalTaskMode::adopt:
        return QStringLiteral("adopt");
    case ExternalTaskMode::mirror:
        return QStringLiteral("mirror");
    }
    return {};
}

QString rawValue(SyncPlace value)
{
    return value == SyncPlace::none ? QStringLiteral("none") : QStringLiteral("drive");
}

std::optional<FocusVisual> focusVisualFromRaw(const QString &raw)
{
    return fromRawIn(raw, {FocusVisual::incense, FocusVisual::ring});
}

std::optional<ExternalTaskMode> externalTaskModeFromRaw(const QString &raw)
{
    return fromRawIn(raw, {ExternalTaskMode::off, ExternalTaskMode::adopt, ExternalTaskMode::mirror});
}

std::optional<SyncPlace> syncPlaceFromRaw(const QString &raw)
{
    return fromRawIn(raw, {SyncPlace::none, SyncPlace::drive});
}

// Construction ---------------------------------------------------------------------

AppSettings::AppSettings(Preferences &prefs, QObject *parent)
    : QObject(parent)
    , m_prefs(prefs)
{
    if (&prefs == &Preferences::standard())
        carryOverFromPersonalID();
    m_prefs.registerDefaults(registeredDefaults());
    connect(&m_prefs, &Preferences::changed, this, &AppSettings::onStoreChanged);
}

AppSettings::~AppSettings() = default;

AppSettings &AppSettings::sharedInstance()
{
    if (!g_shared)
        g_shared = std::make_unique<AppSettings>(Preferences::standard());
    return *g_shared;
}

void AppSettings::resetSharedInstance()
{
    g_shared.reset();
}

void AppSettings::carryOverFromPersonalID()
{
    if (m_prefs.boolean(QLatin1String(kCarriedOver)).value_or(false))
        return;
    const Preferences earlier(earlierDomain);
    // No earlier domain (or one that could not be read and was set aside):
    // leave the marker unset so a later launch looks again.
    if (!earlier.fileExists())
        return;
    // Only values actually stored are copied, as they are: no clamp, no stamp.
    for (const QString &key : earlier.storedKeys())
        if (!m_prefs.contains(key))
            m_prefs.setValue(key, earlier.value(key));
    m_prefs.setValue(QLatin1String(kCarriedOver), true);
}

// Reading ----------------------------------------------------------------------------

int AppSettings::readInt(const QString &key) const
{
    QJsonValue v = m_prefs.value(key);
    if (!v.isDouble() || !std::isfinite(v.toDouble()))
        v = registeredDefaults().value(key);
    const double d = std::trunc(v.toDouble(0));
    return int(std::clamp(d, double(std::numeric_limits<int>::min()), double(std::numeric_limits<int>::max())));
}

bool AppSettings::readBool(const QString &key) const
{
    const QJsonValue v = m_prefs.value(key);
    if (v.isBool())
        return v.toBool();
    return registeredDefaults().value(key).toBool(false);
}

double AppSettings::readDouble(const QString &key) const
{
    const QJsonValue v = m_prefs.value(key);
    if (v.isDouble())
        return v.toDouble();
    return registeredDefaults().value(key).toDouble(0);
}

std::optional<QString> AppSettings::readString(const QString &key) const
{
    return m_prefs.string(key);
}

std::optional<QDateTime> AppSettings::readSeconds(const QString &key) const
{
    const std::optional<double> seconds = m_prefs.number(key);
    if (!seconds || !(*seconds > 0) || !std::isfinite(*seconds))
        return std::nullopt;
    return QDateTime::fromMSecsSinceEpoch(qint64(std::llround(*seconds * 1000.0)));
}

// Writing ----------------------------------------------------------------------------

void AppSettings::write(const char *property, const QString &key, const QJsonValue &value, bool stamps)
{
    const QMetaProperty meta = metaObject()->property(metaObject()->indexOfProperty(property));
    const QVariant before = meta.read(this);
    ++m_ownWrites;
    if (value.isUndefined())
        m_prefs.remove(key);
    else
        m_prefs.setValue(key, value);
    --m_ownWrites;
    if (meta.read(this) != before)
        meta.notifySignal().invoke(this);
    if (stamps)
        stamp();
}

void AppSettings::stamp()
{
    if (isApplyingRemote)
        return;
    m_prefs.setValue(QLatin1String(kSettingsChangedAt), KivJSON::dateString(Clock::current().now()));
    m_prefs.setValue(QLatin1String(kSettingsUnsent), true);
    if (onChanged)
        onChanged();
}

// A key written to the preferences by other means: tell the observers of
// its property.
void AppSettings::onStoreChanged(const QString &key)
{
    if (m_ownWrites > 0)
        return;
    const int index = metaObject()->indexOfProperty(propertyForKey(key).constData());
    if (index < 0)
        return;
    const QMetaProperty meta = metaObject()->property(index);
    if (meta.hasNotifySignal())
        meta.notifySignal().invoke(this);
}

// Properties ---------------------------------------------------------------------------

int AppSettings::focusMinutes() const { return readInt(QStringLiteral("focusMinutes")); }
void AppSettings::setFocusMinutes(int minutes)
{
    write("focusMinutes", QStringLiteral("focusMinutes"), std::clamp(minutes, 1, 180), true);
}

int AppSettings::shortBreakMinutes() const { return readInt(QStringLiteral("shortBreakMinutes")); }
void AppSettings::setShortBreakMinutes(int minutes)
{
    write("shortBreakMinutes", QStringLiteral("shortBreakMinutes"), std::clamp(minutes, 1, 60), true);
}

int AppSettings::longBreakMinutes() const { return readInt(QStringLiteral("longBreakMinutes")); }
void AppSettings::setLongBreakMinutes(int minutes)
{
    write("longBreakMinutes", QStringLiteral("longBreakMinutes"), std::clamp(minutes, 1, 120), true);
}

int AppSettings::choreMinutes() const { return readInt(QStringLiteral("choreMinutes")); }
void AppSettings::setChoreMinutes(int minutes)
{
    write("choreMinutes", QStringLiteral("choreMinutes"), std::clamp(minutes, 1, 60), true);
}

int AppSettings::sessionsUntilLongBreak() const { return readInt(QStringLiteral("sessionsUntilLongBreak")); }
void AppSettings::setSessionsUntilLongBreak(int count)
{
    write("sessionsUntilLongBreak", QStringLiteral("sessionsUntilLongBreak"), std::clamp(count, 2, 12), true);
}

bool AppSettings::autoStartBreak() const { return readBool(QStringLiteral("autoStartBreak")); }
void AppSettings::setAutoStartBreak(bool on) { write("autoStartBreak", QStringLiteral("autoStartBreak"), on, true); }

bool AppSettings::autoStartFocus() const { return readBool(QStringLiteral("autoStartFocus")); }
void AppSettings::setAutoStartFocus(bool on) { write("autoStartFocus", QStringLiteral("autoStartFocus"), on, true); }

bool AppSettings::soundEnabled() const { return readBool(QStringLiteral("soundEnabled")); }
void AppSettings::setSoundEnabled(bool on) { write("soundEnabled", QStringLiteral("soundEnabled"), on, true); }

bool AppSettings::prepares() const { return readBool(QStringLiteral("prepares")); }
void AppSettings::setPrepares(bool on) { write("prepares", QStringLiteral("prepares"), on, true); }

bool AppSettings::dayPrompts() const { return readBool(QStringLiteral("dayPrompts")); }
void AppSettings::setDayPrompts(bool on) { write("dayPrompts", QStringLiteral("dayPrompts"), on, true); }

int AppSettings::morningHour() const { return readInt(QStringLiteral("morningHour")); }
void AppSettings::setMorningHour(int hour) { write("morningHour", QStringLiteral("morningHour"), hour, true); }

int AppSettings::eveningHour() const { return readInt(QStringLiteral("eveningHour")); }
void AppSettings::setEveningHour(int hour) { write("eveningHour", QStringLiteral("eveningHour"), hour, true); }

SyncPlace AppSettings::syncPlace() const
{
    return readString(QStringLiteral("syncPlace")) == QStringLiteral("none") ? SyncPlace::none : SyncPlace::drive;
}
void AppSettings::setSyncPlace(SyncPlace place)
{
    write("syncPlace", QStringLiteral("syncPlace"), rawValue(place), false);
}

bool AppSettings::planNotices() const { return readBool(QStringLiteral("planNotices")); }
void AppSettings::setPlanNotices(bool on) { write("planNotices", QStringLiteral("planNotices"), on, true); }

ExternalTaskMode AppSettings::externalTaskMode() const
{
    const std::optional<QString> raw = readString(QStringLiteral("externalTaskMode"));
    if (raw == QStringLiteral("off"))
        return ExternalTaskMode::off;
    if (raw == QStringLiteral("mirror"))
        return ExternalTaskMode::mirror;
    return ExternalTaskMode::adopt;
}
void AppSettings::setExternalTaskMode(ExternalTaskMode mode)
{
    write("externalTaskMode", QStringLiteral("externalTaskMode"), rawValue(mode), true);
}

bool AppSettings::writeBackToExternal() const { return readBool(QStringLiteral("writeBackToExternal")); }
void AppSettings::setWriteBackToExternal(bool on)
{
    write("writeBackToExternal", QStringLiteral("writeBackToExternal"), on, true);
}

bool AppSettings::calendarEnabled() const { return readBool(QStringLiteral("calendarEnabled")); }
void AppSettings::setCalendarEnabled(bool on)
{
    write("calendarEnabled", QStringLiteral("calendarEnabled"), on, true);
}

bool AppSettings::recordBreaks() const { return readBool(QStringLiteral("recordBreaks")); }
void AppSettings::setRecordBreaks(bool on) { write("recordBreaks", QStringLiteral("recordBreaks"), on, true); }

bool AppSettings::calendarShowsTitle() const { return readBool(QStringLiteral("calendarShowsTitle")); }
void AppSettings::setCalendarShowsTitle(bool on)
{
    write("calendarShowsTitle", QStringLiteral("calendarShowsTitle"), on, true);
}

double AppSettings::textScale() const
{
    // Clamped on every read too, so a value stored by other means (or carried
    // over from an earlier build) never reaches the theme out of range.
    return clampNumber(readDouble(QStringLiteral("textScale")), 1.0, 1.6);
}
void AppSettings::setTextScale(double scale)
{
    write("textScale", QStringLiteral("textScale"), clampNumber(scale, 1.0, 1.6), false);
    Kiv::setScale(textScale());
}

bool AppSettings::showSecondsInMenuBar() const { return readBool(QStringLiteral("showSecondsInMenuBar")); }
void AppSettings::setShowSecondsInMenuBar(bool on)
{
    write("showSecondsInMenuBar", QStringLiteral("showSecondsInMenuBar"), on, false);
}

bool AppSettings::alwaysOnTop() const { return readBool(QStringLiteral("alwaysOnTop")); }
void AppSettings::setAlwaysOnTop(bool on) { write("alwaysOnTop", QStringLiteral("alwaysOnTop"), on, false); }

FocusVisual AppSettings::focusVisual() const
{
    return readString(QStringLiteral("focusVisual")) == QStringLiteral("ring") ? FocusVisual::ring
                                                                               : FocusVisual::incense;
}
void AppSettings::setFocusVisual(FocusVisual visual)
{
    write("focusVisual", QStringLiteral("focusVisual"), rawValue(visual), true);
}

QString AppSettings::ambienceScene() const
{
    const std::optional<QString> raw = readString(QStringLiteral("ambienceScene"));
    return raw && sceneNames().contains(*raw) ? *raw : QStringLiteral("bell");
}
void AppSettings::setAmbienceScene(const QString &scene)
{
    const QString stored = sceneNames().contains(scene) ? scene : QStringLiteral("bell");
    write("ambienceScene", QStringLiteral("ambienceScene"), stored, true);
}

double AppSettings::ambienceVolume() const { return readDouble(QStringLiteral("ambienceVolume")); }
void AppSettings::setAmbienceVolume(double volume)
{
    write("ambienceVolume", QStringLiteral("ambienceVolume"), clampNumber(volume, 0.0, 1.0), true);
}

QString AppSettings::bell() const { return bellFrom(readString(QStringLiteral("bell"))); }
void AppSettings::setBell(const QString &name)
{
    const QString stored = bellFrom(name);
    write("bell", QStringLiteral("bell"), stored, false);
    if (onBellWritten)
        onBellWritten(stored);
    stamp();
}

std::optional<QString> AppSettings::planCalendarName() const { return readString(QStringLiteral("planCalendarName")); }
void AppSettings::setPlanCalendarName(const std::optional<QString> &name)
{
    write("planCalendarName", QStringLiteral("planCalendarName"), optionalText(name), true);
}

std::optional<QString> AppSettings::recordCalendarName() const
{
    return readString(QStringLiteral("recordCalendarName"));
}
void AppSettings::setRecordCalendarName(const std::optional<QString> &name)
{
    write("recordCalendarName", QStringLiteral("recordCalendarName"), optionalText(name), true);
}

std::optional<QStringList> AppSettings::visibleCalendarNames() const
{
    return m_prefs.stringList(QStringLiteral("visibleCalendarNames"));
}
void AppSettings::setVisibleCalendarNames(const std::optional<QStringList> &names)
{
    write("visibleCalendarNames", QStringLiteral("visibleCalendarNames"),
          names ? QJsonValue(QJsonArray::fromStringList(*names)) : QJsonValue(QJsonValue::Undefined), true);
}

QStringList AppSettings::visibleCalendarIDs() const
{
    return m_prefs.stringList(QLatin1String(kVisibleCalendars)).value_or(QStringList());
}
void AppSettings::setVisibleCalendarIDs(const QStringList &ids)
{
    write("visibleCalendarIDs", QLatin1String(kVisibleCalendars), QJsonArray::fromStringList(ids), false);
}

std::optional<QString> AppSettings::planCalendarIdentifier() const { return readString(QLatin1String(kPlanCalendar)); }
void AppSettings::setPlanCalendarIdentifier(const std::optional<QString> &id)
{
    write("planCalendarIdentifier", QLatin1String(kPlanCalendar), optionalText(id), false);
}

std::optional<QString> AppSettings::calendarIdentifier() const
{
    return readString(QStringLiteral("calendarIdentifier"));
}
void AppSettings::setCalendarIdentifier(const std::optional<QString> &id)
{
    write("calendarIdentifier", QStringLiteral("calendarIdentifier"), optionalText(id), false);
}

std::optional<QString> AppSettings::customSoundName() const { return readString(QStringLiteral("customSoundName")); }
void AppSettings::setCustomSoundName(const std::optional<QString> &name)
{
    write("customSoundName", QStringLiteral("customSoundName"), optionalText(name), false);
}

bool AppSettings::hasSeenIntro() const { return readBool(QStringLiteral("hasSeenIntro")); }
void AppSettings::setHasSeenIntro(bool seen) { write("hasSeenIntro", QStringLiteral("hasSeenIntro"), seen, false); }

std::optional<QDateTime> AppSettings::lastLookedForVersionAt() const
{
    return readSeconds(QStringLiteral("lastLookedForVersionAt"));
}
void AppSettings::setLastLookedForVersionAt(const std::optional<QDateTime> &at)
{
    write("lastLookedForVersionAt", QStringLiteral("lastLookedForVersionAt"), secondsValue(at), false);
}

std::optional<QDateTime> AppSettings::lastSyncedAt() const { return readSeconds(QStringLiteral("lastSyncedAt")); }
void AppSettings::setLastSyncedAt(const std::optional<QDateTime> &at)
{
    write("lastSyncedAt", QStringLiteral("lastSyncedAt"), secondsValue(at), false);
}

QDateTime AppSettings::settingsChangedAt() const
{
    const std::optional<QString> text = readString(QLatin1String(kSettingsChangedAt));
    const std::optional<QDateTime> date = text ? KivJSON::parseDate(*text) : std::nullopt;
    return date.value_or(distantPast());
}

std::optional<QUrl> AppSettings::customSoundURL() const
{
    if (const std::optional<QString> name = customSoundName(); name && soundNamed)
        if (const std::optional<QUrl> url = soundNamed(*name))
            return url;
    const QList<QUrl> sounds = librarySounds ? librarySounds() : QList<QUrl>();
    if (sounds.isEmpty())
        return std::nullopt;
    return sounds.first();
}

// Other members --------------------------------------------------------------------------

void AppSettings::toggleCalendar(const QString &id, const QStringList &all)
{
    QStringList list = visibleCalendarIDs();
    if (list.isEmpty())
        list = all;
    if (const qsizetype at = list.indexOf(id); at >= 0)
        list.removeAt(at);
    else
        list.append(id);
    const QSet<QString> shown(list.cbegin(), list.cend());
    const QSet<QString> every(all.cbegin(), all.cend());
    setVisibleCalendarIDs(shown == every ? QStringList() : list);
}

double AppSettings::duration(Phase phase) const
{
    switch (phase) {
    case Phase::focus:
        return focusMinutes() * 60.0;
    case Phase::shortBreak:
        return shortBreakMinutes() * 60.0;
    case Phase::longBreak:
        return longBreakMinutes() * 60.0;
    }
    return 0;
}

const QStringList &AppSettings::sceneNames()
{
    static const QStringList names{
        QStringLiteral("silent"), QStringLiteral("bell"),   QStringLiteral("singingBowl"), QStringLiteral("waterJar"),
        QStringLiteral("chime"),  QStringLiteral("stream"), QStringLiteral("surf"),        QStringLiteral("rain"),
        QStringLiteral("wind"),   QStringLiteral("insects"), QStringLiteral("embers"),     QStringLiteral("heartbeat"),
        QStringLiteral("custom"),
    };
    return names;
}

const QStringList &AppSettings::bellNames()
{
    static const QStringList names{QStringLiteral("Bonsho"), QStringLiteral("Kansho"), QStringLiteral("Keisu"),
                                   QStringLiteral("Inkin"), QStringLiteral("Mokugyo")};
    return names;
}

QString AppSettings::bellFrom(const std::optional<QString> &name)
{
    return name && bellNames().contains(*name) ? *name : bellNames().first();
}

QDateTime AppSettings::distantPast()
{
    return QDateTime(QDate(1, 1, 1), QTime(0, 0), QTimeZone::utc());
}

// The synced snapshot ------------------------------------------------------------------------

SharedSettings AppSettings::shared() const
{
    SharedSettings s;
    s.updatedAt = settingsChangedAt();
    s.focusMinutes = focusMinutes();
    s.shortBreakMinutes = shortBreakMinutes();
    s.longBreakMinutes = longBreakMinutes();
    s.choreMinutes = choreMinutes();
    s.sessionsUntilLongBreak = sessionsUntilLongBreak();
    s.autoStartBreak = autoStartBreak();
    s.autoStartFocus = autoStartFocus();
    s.prepares = prepares();
    s.soundEnabled = soundEnabled();
    s.ambienceScene = ambienceScene();
    s.ambienceVolume = ambienceVolume();
    s.bell = bell();
    s.dayPrompts = dayPrompts();
    s.morningHour = morningHour();
    s.eveningHour = eveningHour();
    s.planNotices = planNotices();
    s.recordBreaks = recordBreaks();
    s.calendarShowsTitle = calendarShowsTitle();
    s.externalTaskMode = rawValue(externalTaskMode());
    s.writeBackToExternal = writeBackToExternal();
    s.focusVisual = rawValue(focusVisual());
    s.recordsToCalendar = calendarEnabled();
    s.planCalendarName = planCalendarName();
    s.recordCalendarName = recordCalendarName();
    s.visibleCalendarNames = visibleCalendarNames();
    return s;
}

void AppSettings::apply(const SharedSettings &s, bool force)
{
    if (!force && !(s.updatedAt > settingsChangedAt()))
        return;
    isApplyingRemote = true;
    setFocusMinutes(s.focusMinutes);
    setShortBreakMinutes(s.shortBreakMinutes);
    setLongBreakMinutes(s.longBreakMinutes);
    setChoreMinutes(s.choreMinutes);
    setSessionsUntilLongBreak(s.sessionsUntilLongBreak);
    setAutoStartBreak(s.autoStartBreak);
    setAutoStartFocus(s.autoStartFocus);
    setPrepares(s.prepares);
    setSoundEnabled(s.soundEnabled);
    // Texts naming a case this build does not know leave the local value,
    // except the bell, which falls back to the first bell.
    if (sceneNames().contains(s.ambienceScene))
        setAmbienceScene(s.ambienceScene);
    setAmbienceVolume(s.ambienceVolume);
    setBell(s.bell);
    setDayPrompts(s.dayPrompts);
    setMorningHour(s.morningHour);
    setEveningHour(s.eveningHour);
    setPlanNotices(s.planNotices);
    setRecordBreaks(s.recordBreaks);
    setCalendarShowsTitle(s.calendarShowsTitle);
    if (const auto mode = externalTaskModeFromRaw(s.externalTaskMode))
        setExternalTaskMode(*mode);
    setWriteBackToExternal(s.writeBackToExternal);
    if (const auto visual = focusVisualFromRaw(s.focusVisual))
        setFocusVisual(*visual);
    if (s.recordsToCalendar)
        setCalendarEnabled(*s.recordsToCalendar);
    if (s.planCalendarName)
        setPlanCalendarName(s.planCalendarName);
    if (s.recordCalendarName)
        setRecordCalendarName(s.recordCalendarName);
    if (s.visibleCalendarNames)
        setVisibleCalendarNames(s.visibleCalendarNames);
    m_prefs.setValue(QLatin1String(kSettingsChangedAt), KivJSON::dateString(s.updatedAt));
    isApplyingRemote = false;
}
