#include "views/daily/DailyNotePanel.h"

#include "core/L.h"
#include "views/ink/ElidedLabel.h"
#include "views/ink/InkButton.h"
#include "views/ink/PlainLineEdit.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPlainTextEdit>
#include <QVBoxLayout>
#include <cmath>

namespace {
// The editor's paper: a rounded sheet outlined with a hairline.
class Sheet : public QWidget
{
public:
    explicit Sheet(QWidget *parent)
        : QWidget(parent)
    {
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        QPainterPath path;
        path.addRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 8, 8);
        painter.fillPath(path, Kiv::paper());
        painter.strokePath(path, QPen(Kiv::hairline(), 1));
    }
};
} // namespace

DailyNotePanel::DailyNotePanel(const QString &text, QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("daily.note"));
    const double s = Kiv::scale();
    const int pad = int(std::lround(14 * s));
    setFixedWidth(int(std::ceil(300 * s)));
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(pad, pad, pad, pad);
    column->setSpacing(10);
    column->addWidget(
        new ElidedLabel(L("覚え書き"), Kiv::tracked(Kiv::font(12), 2, 0.24), {Kiv::Colour::inkSoft}, this));

    auto *sheet = new Sheet(this);
    sheet->setFixedHeight(int(std::ceil(120 * s)));
    auto *inside = new QVBoxLayout(sheet);
    inside->setContentsMargins(8, 8, 8, 8);
    m_editor = new QPlainTextEdit(sheet);
    m_editor->setObjectName(QStringLiteral("daily.note.editor"));
    m_editor->setAccessibleName(L("覚え書き"));
    m_editor->setFrameShape(QFrame::NoFrame);
    m_editor->setFont(Kiv::font(13));
    m_editor->viewport()->setAutoFillBackground(false);
    m_editor->setTabChangesFocus(true);
    PlainLineEdit::applyPlainPalette(m_editor, {Kiv::Colour::ink});
    m_editor->setPlainText(text);
    inside->addWidget(m_editor);
    column->addWidget(sheet);

    auto *row = new QHBoxLayout;
    row->addStretch(1);
    InkLook look = InkLook::plain(Kiv::font(13), {Kiv::Colour::indigo}, {Kiv::Colour::indigo});
    look.opacityHover = 0.75;
    auto *doneButton = new InkButton(L("決める"), look, this);
    doneButton->setObjectName(QStringLiteral("daily.note.done"));
    doneButton->setAccessibleName(doneButton->text());
    connect(doneButton, &QAbstractButton::clicked, this, [this] { emit done(this->text()); });
    row->addWidget(doneButton);
    column->addLayout(row);
}

QString DailyNotePanel::text() const
{
    return m_editor->toPlainText();
}

void DailyNotePanel::keyPressEvent(QKeyEvent *event)
{
    // The panel's default action: Ctrl+Return keeps the note (a plain
    // Return breaks the line in the editor).
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && (event->modifiers() & Qt::ControlModifier)) {
        emit done(text());
        return;
    }
    QWidget::keyPressEvent(event);
}
