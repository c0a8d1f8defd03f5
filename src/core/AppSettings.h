#pragma once

#include "core/Mode.h"

#include <QDateTime>
#include <QJsonValue>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <functional>
#include <memory>
#include <optional>

class Preferences;
struct SharedSettings;

// The picture of a running focus phase.
enum class FocusVisual { incense, ring };
// How tasks of outside sources are used: not at all, copied in, or shown beside.
enum class ExternalTaskMode { off, adopt, mirror };
// Where data is synced.
enum class SyncPlace { none, drive };

QString rawValue(FocusVisual value);
QString rawValue(ExternalTaskMode value);
QString rawValue(SyncPlace value);
std::optional<FocusVisual> focusVisualFromRaw(const QString &raw);
std::optional<ExternalTaskMode> externalTaskModeFromRaw(const QString &raw);
std::optional<SyncPlace> syncPlaceFromRaw(const QString &raw);

// The one object through which the user's settings are read and written.
// It keeps no copy: every property reads and writes the preferences file, so
// a value written there by any means is seen at the next read. Each property
// has its own change signal, emitted only when the value read changes.
//
// Writes of the settings that travel between devices stamp: they record the
// time under "settingsChangedAt", mark "settingsUnsent" and call onChanged,
// unless isApplyingRemote is set.
//
// The ambience scene and the bell are kept by their stored names here; the
// sound code maps them to its own types. onBellWritten is called with the
// bell's name after every write of the bell, so the bell engine can follow.
class AppSettings : public QObject, public PomodoroConfiguring
{
    Q_OBJECT
    Q_PROPERTY(int focusMinutes READ focusMinutes WRITE setFocusMinutes NOTIFY focusMinutesChanged)
    Q_PROPERTY(int shortBreakMinutes READ shortBreakMinutes WRITE setShortBreakMinutes NOTIFY shortBreakMinutesChanged)
    Q_PROPERTY(int longBreakMinutes READ longBreakMinutes WRITE setLongBreakMinutes NOTIFY longBreakMinutesChanged)
    Q_PROPERTY(int choreMinutes READ choreMinutes WRITE setChoreMinutes NOTIFY choreMinutesChanged)
    Q_PROPERTY(int sessionsUntilLongBreak READ sessionsUntilLongBreak WRITE setSessionsUntilLongBreak NOTIFY
                   sessionsUntilLongBreakChanged)
    Q_PROPERTY(bool autoStartBreak READ autoStartBreak WRITE setAutoStartBreak NOTIFY autoStartBreakChanged)
    Q_PROPERTY(bool autoStartFocus READ autoStartFocus WRITE setAutoStartFocus NOTIFY autoStartFocusChanged)
    Q_PROPERTY(bool soundEnabled READ soundEnabled WRITE setSoundEnabled NOTIFY soundEnabledChanged)
    Q_PROPERTY(bool prepares READ prepares WRITE setPrepares NOTIFY preparesChanged)
    Q_PROPERTY(bool dayPrompts READ dayPrompts WRITE setDayPrompts NOTIFY dayPromptsChanged)
    Q_PROPERTY(int morningHour READ morningHour WRITE setMorningHour NOTIFY morningHourChanged)
    Q_PROPERTY(int eveningHour READ eveningHour WRITE setEveningHour NOTIFY eveningHourChanged)
    Q_PROPERTY(SyncPlace syncPlace READ syncPlace WRITE setSyncPlace NOTIFY syncPlaceChanged)
    Q_PROPERTY(bool planNotices READ planNotices WRITE setPlanNotices NOTIFY planNoticesChanged)
    Q_PROPERTY(ExternalTaskMode externalTaskMode READ externalTaskMode WRITE setExternalTaskMode NOTIFY
                   externalTaskModeChanged)
    Q_PROPERTY(bool writeBackToExternal READ writeBackToExternal WRITE setWriteBackToExternal NOTIFY
                   writeBackToExternalChanged)
    Q_PROPERTY(bool calendarEnabled READ calendarEnabled WRITE setCalendarEnabled NOTIFY calendarEnabledChanged)
    Q_PROPERTY(bool recordBreaks READ recordBreaks WRITE setRecordBreaks NOTIFY recordBreaksChanged)
    Q_PROPERTY(bool calendarShowsTitle READ calendarShowsTitle WRITE setCalendarShowsTitle NOTIFY
                   calendarShowsTitleChanged)
    Q_PROPERTY(double textScale READ textScale WRITE setTextScale NOTIFY textScaleChanged)
    Q_PROPERTY(bool showSecondsInMenuBar READ showSecondsInMenuBar WRITE setShowSecondsInMenuBar NOTIFY
                   showSecondsInMenuBarChanged)
    Q_PROPERTY(bool alwaysOnTop READ alwaysOnTop WRITE setAlwaysOnTop NOTIFY alwaysOnTopChanged)
    Q_PROPERTY(FocusVisual focusVisual READ focusVisual WRITE setFocusVisual NOTIFY focusVisualChanged)
    Q_PROPERTY(QString ambienceScene READ ambienceScene WRITE setAmbienceScene NOTIFY ambienceSceneChanged)
    Q_PROPERTY(double ambienceVolume READ ambienceVolume WRITE setAmbienceVolume NOTIFY ambienceVolumeChanged)
    Q_PROPERTY(QString bell READ bell WRITE setBell NOTIFY bellChanged)
    Q_PROPERTY(std::optional<QString> planCalendarName READ planCalendarName WRITE setPlanCalendarName NOTIFY
                   planCalendarNameChanged)
    Q_PROPERTY(std::optional<QString> recordCalendarName READ recordCalendarName WRITE setRecordCalendarName NOTIFY
                   recordCalendarNameChanged)
    Q_PROPERTY(std::optional<QStringList> visibleCalendarNames READ visibleCalendarNames WRITE
                   setVisibleCalendarNames NOTIFY visibleCalendarNamesChanged)
    Q_PROPERTY(QStringList visibleCalendarIDs READ visibleCalendarIDs WRITE setVisibleCalendarIDs NOTIFY
                   visibleCalendarIDsChanged)
    Q_PROPERTY(std::optional<QString> planCalendarIdentifier READ planCalendarIdentifier WRITE
                   setPlanCalendarIdentifier NOTIFY planCalendarIdentifierChanged)
    Q_PROPERTY(std::optional<QString> calendarIdentifier READ calendarIdentifier WRITE setCalendarIdentifier NOTIFY
                   calendarIdentifierChanged)
    Q_PROPERTY(std::optional<QString> customSoundName READ customSoundName WRITE setCustomSoundName NOTIFY
                   customSoundNameChanged)
    Q_PROPERTY(bool hasSeenIntro READ hasSeenIntro WRITE setHasSeenIntro NOTIFY hasSeenIntroChanged)
    Q_PROPERTY(std::optional<QDateTime> lastLookedForVersionAt READ lastLookedForVersionAt WRITE
                   setLastLookedForVersionAt NOTIFY lastLookedForVersionAtChanged)
    Q_PROPERTY(std::optional<QDateTime> lastSyncedAt READ lastSyncedAt WRITE setLastSyncedAt NOTIFY
                   lastSyncedAtChanged)
    Q_PROPERTY(QDateTime settingsChangedAt READ settingsChangedAt NOTIFY settingsChangedAtChanged)
    Q_PROPERTY(std::optional<QUrl> customSoundURL READ customSoundURL NOTIFY customSoundNameChanged)

public:
    // The preference domain of the earlier build whose values are carried
    // over once into the standard domain.
    static inline const QString earlierDomain = QStringLiteral("preferences-personal");

    // Carries the earlier domain over when prefs is the standard domain, then
    // registers the defaults. prefs must outlive the settings.
    explicit AppSettings(Preferences &prefs, QObject *parent = nullptr);
    ~AppSettings() override;

    // The preferences behind every setting; the sync service keeps its
    // "settingsUnsent" flag there.
    Preferences &defaults() const { return m_prefs; }

    // The process-wide settings over the standard preferences, made on first use.
    static AppSettings &sharedInstance();
    // Drops the process-wide settings (tests that replace the standard
    // preferences call this first).
    static void resetSharedInstance();

    // Called after every stamped change, unless isApplyingRemote.
    std::function<void()> onChanged;
    // While true, writes do not stamp and onChanged is not called.
    bool isApplyingRemote = false;

    // Called with the bell's stored name after every write of the bell
    // (also while applying a synced snapshot).
    std::function<void(const QString &bellName)> onBellWritten;
    // The user sound library: the location of the sound with that exact name,
    // and the locations of all sounds in order. Unset, the library is empty.
    std::function<std::optional<QUrl>(const QString &name)> soundNamed;
    std::function<QList<QUrl>()> librarySounds;

    int focusMinutes() const;
    void setFocusMinutes(int minutes);
    int shortBreakMinutes() const;
    void setShortBreakMinutes(int minutes);
    int longBreakMinutes() const;
    void setLongBreakMinutes(int minutes);
    int choreMinutes() const;
    void setChoreMinutes(int minutes);
    int sessionsUntilLongBreak() const;
    void setSessionsUntilLongBreak(int count);
    bool autoStartBreak() const override;
    void setAutoStartBreak(bool on);
    bool autoStartFocus() const override;
    void setAutoStartFocus(bool on);
    bool soundEnabled() const;
    void setSoundEnabled(bool on);
    bool prepares() const;
    void setPrepares(bool on);
    bool dayPrompts() const;
    void setDayPrompts(bool on);
    int morningHour() const;
    void setMorningHour(int hour);
    int eveningHour() const;
    void setEveningHour(int hour);
    SyncPlace syncPlace() const;
    void setSyncPlace(SyncPlace place);
    bool planNotices() const;
    void setPlanNotices(bool on);
    ExternalTaskMode externalTaskMode() const;
    void setExternalTaskMode(ExternalTaskMode mode);
    bool writeBackToExternal() const;
    void setWriteBackToExternal(bool on);
    bool calendarEnabled() const;
    void setCalendarEnabled(bool on);
    bool recordBreaks() const;
    void setRecordBreaks(bool on);
    bool calendarShowsTitle() const;
    void setCalendarShowsTitle(bool on);
    // Always within 1.0–1.6, whatever is stored.
    double textScale() const;
    // Also sets Kiv::scale to the stored value.
    void setTextScale(double scale);
    bool showSecondsInMenuBar() const;
    void setShowSecondsInMenuBar(bool on);
    bool alwaysOnTop() const;
    void setAlwaysOnTop(bool on);
    FocusVisual focusVisual() const;
    void setFocusVisual(FocusVisual visual);
    // The scene's raw name; a text that names no scene reads "bell".
    QString ambienceScene() const;
    void setAmbienceScene(const QString &scene);
    double ambienceVolume() const;
    void setAmbienceVolume(double volume);
    // The bell's stored name; a missing or unknown name reads "Bonsho".
    QString bell() const;
    void setBell(const QString &name);
    std::optional<QString> planCalendarName() const;
    void setPlanCalendarName(const std::optional<QString> &name);
    std::optional<QString> recordCalendarName() const;
    void setRecordCalendarName(const std::optional<QString> &name);
    std::optional<QStringList> visibleCalendarNames() const;
    void setVisibleCalendarNames(const std::optional<QStringList> &names);
    // The calendars shown on the day page; empty means all.
    QStringList visibleCalendarIDs() const;
    void setVisibleCalendarIDs(const QStringList &ids);
    std::optional<QString> planCalendarIdentifier() const;
    void setPlanCalendarIdentifier(const std::optional<QString> &id);
    std::optional<QString> calendarIdentifier() const;
    void setCalendarIdentifier(const std::optional<QString> &id);
    std::optional<QString> customSoundName() const;
    void setCustomSoundName(const std::optional<QString> &name);
    bool hasSeenIntro() const;
    void setHasSeenIntro(bool seen);
    std::optional<QDateTime> lastLookedForVersionAt() const;
    void setLastLookedForVersionAt(const std::optional<QDateTime> &at);
    std::optional<QDateTime> lastSyncedAt() const;
    void setLastSyncedAt(const std::optional<QDateTime> &at);
    // When a synced setting last changed here; the distant past when never.
    QDateTime settingsChangedAt() const;
    // The named library sound, else the first one, else nothing.
    std::optional<QUrl> customSoundURL() const;

    // Shows or hides one calendar on the day page among all of them.
    void toggleCalendar(const QString &id, const QStringList &all);

    // The user's length of a phase in seconds.
    double duration(Phase phase) const override;

    // A snapshot of the synced settings.
    SharedSettings shared() const;
    // Writes a snapshot into the settings when it is newer (or when forced),
    // without stamping.
    void apply(const SharedSettings &settings, bool force);

    // The scene and bell names the settings accept, in order.
    static const QStringList &sceneNames();
    static const QStringList &bellNames();
    // The bell name for a stored text: itself when it names a bell, else "Bonsho".
    static QString bellFrom(const std::optional<QString> &name);
    // Year 1, the date that reads as "never".
    static QDateTime distantPast();

signals:
    void focusMinutesChanged();
    void shortBreakMinutesChanged();
    void longBreakMinutesChanged();
    void choreMinutesChanged();
    void sessionsUntilLongBreakChanged();
    void autoStartBreakChanged();
    void autoStartFocusChanged();
    void soundEnabledChanged();
    void preparesChanged();
    void dayPromptsChanged();
    void morningHourChanged();
    void eveningHourChanged();
    void syncPlaceChanged();
    void planNoticesChanged();
    void externalTaskModeChanged();
    void writeBackToExternalChanged();
    void calendarEnabledChanged();
    void recordBreaksChanged();
    void calendarShowsTitleChanged();
    void textScaleChanged();
    void showSecondsInMenuBarChanged();
    void alwaysOnTopChanged();
    void focusVisualChanged();
    void ambienceSceneChanged();
    void ambienceVolumeChanged();
    void bellChanged();
    void planCalendarNameChanged();
    void recordCalendarNameChanged();
    void visibleCalendarNamesChanged();
    void visibleCalendarIDsChanged();
    void planCalendarIdentifierChanged();
    void calendarIdentifierChanged();
    void customSoundNameChanged();
    void hasSeenIntroChanged();
    void lastLookedForVersionAtChanged();
    void lastSyncedAtChanged();
    void settingsChangedAtChanged();

private:
    void carryOverFromPersonalID();
    // Stores value under key (an undefined value removes the key), emits the
    // property's change signal when its reading changed, and stamps when asked.
    void write(const char *property, const QString &key, const QJsonValue &value, bool stamps);
    void stamp();
    void onStoreChanged(const QString &key);

    int readInt(const QString &key) const;
    bool readBool(const QString &key) const;
    double readDouble(const QString &key) const;
    std::optional<QString> readString(const QString &key) const;
    std::optional<QDateTime> readSeconds(const QString &key) const;

    Preferences &m_prefs;
    int m_ownWrites = 0;
};
