#pragma once

#include <QJsonObject>
#include <QJsonValue>
#include <QObject>
#include <QString>
#include <QStringList>
#include <optional>

// A typed preferences file: one JSON object in "<config>/Quillmere/<name>.json",
// written whole and atomically after every change. Defaults are registered in
// code and never written unless set. Another "domain" is another such file.
// A change that could not be saved stays in memory, is told through
// saveFailed, and is written with the whole file at the next change.
class Preferences : public QObject
{
    Q_OBJECT
public:
    // name is the file name without ".json"; the standard domain is "preferences".
    explicit Preferences(const QString &name = QStringLiteral("preferences"), QObject *parent = nullptr);

    // The standard domain of this process, made on first use.
    static Preferences &standard();
    // Forgets the standard domain so that the next call reads the file again
    // (tests that change the config folder call this).
    static void resetStandard();

    QString filePath() const { return m_path; }
    bool fileExists() const;

    void registerDefaults(const QJsonObject &defaults);

    // The stored value, else the registered default, else undefined.
    QJsonValue value(const QString &key) const;
    // Whether a value is stored (registered defaults do not count).
    bool contains(const QString &key) const { return m_values.contains(key); }
    QStringList storedKeys() const { return m_values.keys(); }

    void setValue(const QString &key, const QJsonValue &value);
    void remove(const QString &key);

    // Typed reads: nothing when the key is absent or holds another type.
    std::optional<QString> string(const QString &key) const;
    std::optional<double> number(const QString &key) const;
    std::optional<bool> boolean(const QString &key) const;
    std::optional<QStringList> stringList(const QString &key) const;

    // The last save failure, empty when the last save worked.
    QString lastError() const { return m_lastError; }
    // The file existed but did not read at load: where it was kept aside
    // (an empty text when it could not be moved). Nothing when it read, or
    // was missing.
    std::optional<QString> keptAsideAs() const { return m_keptAsideAs; }

signals:
    void changed(const QString &key);
    // A save did not reach the disk; error says why.
    void saveFailed(const QString &error);

private:
    void load();
    void save();

    QString m_path;
    QJsonObject m_values;
    QJsonObject m_defaults;
    QString m_lastError;
    std::optional<QString> m_keptAsideAs;
};
