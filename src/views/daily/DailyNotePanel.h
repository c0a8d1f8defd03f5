#pragma once

#include <QWidget>

class QPlainTextEdit;

// The note panel of a practice card: the free text of the practice's note
// in an editor on paper, and the button that keeps it.
class DailyNotePanel : public QWidget
{
    Q_OBJECT
public:
    DailyNotePanel(const QString &text, QWidget *parent = nullptr);

    QString text() const;
    QPlainTextEdit *editor() const { return m_editor; }

signals:
    void done(const QString &text);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    QPlainTextEdit *m_editor = nullptr;
};
