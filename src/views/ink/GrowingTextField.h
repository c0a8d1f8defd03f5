#pragma once

#include "views/ink/Tone.h"

#include <QTextEdit>

// A plain text field without frame or background that wraps its text and
// grows from `minLines` to `maxLines` lines as the text grows (scrolling
// beyond that). Return ends the entry (submitted()) instead of breaking
// the line; pasted line breaks become blanks, so the text stays one line
// of words.
class GrowingTextField : public QTextEdit
{
    Q_OBJECT
public:
    GrowingTextField(int minLines, int maxLines, QWidget *parent = nullptr);

    QString text() const { return toPlainText(); }
    // Sets the text without emitting textEdited.
    void setText(const QString &text);
    void setTone(Tone tone);
    void setAlignment(Qt::Alignment alignment);
    // The number of lines the field shows now.
    int shownLines() const { return m_shownLines; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    // The user changed the text.
    void textEdited(const QString &text);
    // Return was pressed.
    void submitted();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void insertFromMimeData(const QMimeData *source) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void refit();
    int heightForLines(int lines) const;

    int m_minLines;
    int m_maxLines;
    int m_shownLines = 1;
    Tone m_tone{Kiv::Colour::ink};
    Qt::Alignment m_alignment = Qt::AlignLeft;
    bool m_settingText = false;
};
