#include "views/ink/GrowingTextField.h"

#include "views/ink/PlainLineEdit.h"

#include <QAbstractTextDocumentLayout>
#include <QKeyEvent>
#include <QMimeData>
#include <QTextBlock>
#include <QTextLayout>
#include <cmath>

GrowingTextField::GrowingTextField(int minLines, int maxLines, QWidget *parent)
    : QTextEdit(parent)
    , m_minLines(std::max(1, minLines))
    , m_maxLines(std::max(std::max(1, minLines), maxLines))
{
    setAcceptRichText(false);
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setLineWrapMode(QTextEdit::WidgetWidth);
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    setTabChangesFocus(true);
    document()->setDocumentMargin(0);
    viewport()->setAutoFillBackground(false);
    setAutoFillBackground(false);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setTone(m_tone);
    connect(document(), &QTextDocument::contentsChanged, this, [this] {
        refit();
        if (!m_settingText)
            emit textEdited(toPlainText());
    });
    refit();
}

void GrowingTextField::setText(const QString &text)
{
    if (text == toPlainText())
        return;
    m_settingText = true;
    setPlainText(text);
    setAlignment(m_alignment);
    moveCursor(QTextCursor::End);
    m_settingText = false;
}

void GrowingTextField::setTone(Tone tone)
{
    m_tone = tone;
    PlainLineEdit::applyPlainPalette(this, tone);
}

void GrowingTextField::setAlignment(Qt::Alignment alignment)
{
    m_alignment = alignment;
    QTextOption option = document()->defaultTextOption();
    option.setAlignment(alignment);
    document()->setDefaultTextOption(option);
}

int GrowingTextField::heightForLines(int lines) const
{
    const QFontMetricsF metrics(font());
    const QMargins m = contentsMargins();
    return int(std::ceil(metrics.lineSpacing() * lines)) + m.top() + m.bottom();
}

void GrowingTextField::refit()
{
    int lines = 0;
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next())
        lines += block.layout() ? std::max(1, block.layout()->lineCount()) : 1;
    lines = std::clamp(lines, m_minLines, m_maxLines);
    setVerticalScrollBarPolicy(lines >= m_maxLines ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    if (lines != m_shownLines || height() != heightForLines(lines)) {
        m_shownLines = lines;
        setFixedHeight(heightForLines(lines));
        updateGeometry();
    }
}

QSize GrowingTextField::sizeHint() const
{
    return QSize(QTextEdit::sizeHint().width(), heightForLines(m_shownLines));
}

QSize GrowingTextField::minimumSizeHint() const
{
    return QSize(40, heightForLines(m_shownLines));
}

void GrowingTextField::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        emit submitted();
        event->accept();
        return;
    }
    QTextEdit::keyPressEvent(event);
}

void GrowingTextField::insertFromMimeData(const QMimeData *source)
{
    if (!source->hasText())
        return;
    QString text = source->text();
    text.replace(QLatin1String("\r\n"), QLatin1String(" "));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    textCursor().insertText(text);
}

void GrowingTextField::resizeEvent(QResizeEvent *event)
{
    QTextEdit::resizeEvent(event);
    refit();
}

void GrowingTextField::changeEvent(QEvent *event)
{
    QTextEdit::changeEvent(event);
    if (event->type() == QEvent::PaletteChange && PlainLineEdit::needsPlainPalette(this, m_tone))
        setTone(m_tone);
    else if (event->type() == QEvent::FontChange)
        refit();
}
