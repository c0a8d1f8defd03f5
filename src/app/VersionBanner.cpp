#include "app/VersionBanner.h"

#include "core/Kiv.h"
#include "core/L.h"
#include "platform/desktop/Desktop.h"
#include "views/ink/ElidedLabel.h"
#include "views/ink/InkButton.h"
#include "views/ink/LayoutRole.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>

namespace {
// The vermilion dot before the title.
class Dot : public QWidget
{
public:
    explicit Dot(QWidget *parent)
        : QWidget(parent)
    {
        setFixedSize(4, 4);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(Kiv::vermilion());
        painter.drawEllipse(QRectF(rect()));
    }
};
} // namespace

VersionBanner::VersionBanner(const ViewContext &context, QWidget *parent)
    : QWidget(parent)
    , m_context(context)
{
    setObjectName(QStringLiteral("root.version"));
    LayoutRole::setOverlay(this);
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(14, 9, 14, 9);
    row->setSpacing(10);
    row->addWidget(new Dot(this), 0, Qt::AlignVCenter);

    auto *column = new QVBoxLayout;
    column->setSpacing(1);
    m_title = new ElidedLabel(QString(), Kiv::font(12), {Kiv::Colour::ink}, this);
    m_title->setObjectName(QStringLiteral("root.version.title"));
    // The title wraps (a large text scale); only the note keeps to one line.
    m_title->setMaxLines(4);
    m_note = new ElidedLabel(QString(), Kiv::font(10), {Kiv::Colour::inkFaint}, this);
    m_note->setObjectName(QStringLiteral("root.version.note"));
    m_note->setMaxLines(1);
    LayoutRole::setMayElide(m_note);
    column->addWidget(m_title);
    column->addWidget(m_note);
    row->addLayout(column, 1);
    row->addSpacing(8);

    InkLook link = InkLook::plain(Kiv::font(12), {Kiv::Colour::indigo}, {Kiv::Colour::indigo});
    link.opacityHover = 0.75;
    m_get = new InkButton(L("受け取る"), link, this);
    m_get->setObjectName(QStringLiteral("root.version.get"));
    m_get->setAccessibleName(m_get->text());
    connect(m_get, &QAbstractButton::clicked, this, [this] {
        if (opens(m_url))
            m_context.desk().openUrl(m_url);
    });
    row->addWidget(m_get, 0, Qt::AlignVCenter);

    const double size = 9 * Kiv::scale();
    m_close = new InkButton(this);
    m_close->setLook(InkLook::icon(Symbol::xmark, size, {Kiv::Colour::inkFaint}, {Kiv::Colour::inkSoft},
                                   QSizeF(size + 8, size + 8)));
    m_close->setName(L("この知らせを閉じる"));
    m_close->setObjectName(QStringLiteral("root.version.close"));
    connect(m_close, &QAbstractButton::clicked, this, &VersionBanner::dismissed);
    row->addWidget(m_close, 0, Qt::AlignVCenter);
}

void VersionBanner::setFound(const NewVersion::Found &found)
{
    m_url = found.url;
    m_title->setText(L("新しい版があります（{0}）", found.version));
    const bool hasNote = found.note.has_value() && !found.note->isEmpty();
    m_note->setText(hasNote ? *found.note : QString());
    m_note->setVisible(hasNote);
    m_get->setVisible(opens(m_url));
}

bool VersionBanner::opens(const QUrl &url)
{
    const QString scheme = url.scheme().toLower();
    return url.isValid() && !url.host().isEmpty() && (scheme == QLatin1String("http") || scheme == QLatin1String("https"));
}

void VersionBanner::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath pill;
    pill.addRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 8, 8);
    painter.fillPath(pill, Kiv::paperRaised());
    painter.strokePath(pill, QPen(Kiv::hairline(), 1));
}
