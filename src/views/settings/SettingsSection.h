#pragma once

#include <QList>
#include <QString>
#include <QWidget>

class QVBoxLayout;
class TextBlock;

// One section of the settings form: an optional header above a raised
// panel that holds the section's rows, a hairline between two rows that
// are shown. Rows are added once; a row that does not apply is hidden, and
// the lines follow.
class SettingsSection : public QWidget
{
    Q_OBJECT
public:
    // An empty header shows none.
    explicit SettingsSection(const QString &header, QWidget *parent = nullptr);

    QString header() const { return m_header; }
    // Adds a row at the end and gives it back.
    QWidget *addRow(QWidget *row);
    // Adds a row holding a column of widgets (8 apart, leading-aligned),
    // which the caller fills.
    QVBoxLayout *addColumn();
    // The rows in order (shown or not).
    const QList<QWidget *> &rows() const { return m_rows; }
    bool hasRows() const { return !m_rows.isEmpty(); }

    // Space around the rows inside the panel and between the rows.
    static constexpr int kRowInsetX = 12;
    static constexpr int kRowInsetY = 9;

private:
    class Panel;

    QString m_header;
    TextBlock *m_headerLabel = nullptr;
    Panel *m_panel = nullptr;
    QVBoxLayout *m_rowsLayout = nullptr;
    QList<QWidget *> m_rows;
};
