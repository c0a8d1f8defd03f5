#include "ControlsSheet.h"

#include "core/Kiv.h"
#include "core/L.h"
#include "views/day/MinuteField.h"
#include "views/ink/ElidedLabel.h"
#include "views/ink/InkStyle.h"
#include "views/ink/Popover.h"
#include "views/ink/SegmentedControl.h"
#include "views/ink/TextBlock.h"
#include "views/ink/ToggleSwitch.h"
#include "views/settings/ChoiceRow.h"
#include "views/tasks/MonthGrid.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QScrollArea>
#include <QSlider>
#include <QVBoxLayout>

namespace {

constexpr double kRatio = 2.0;

QImage picture(QWidget *widget, QSize size)
{
    widget->resize(size);
    QImage image(size * kRatio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(kRatio);
    image.fill(Qt::transparent);
    widget->render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}

ElidedLabel *caption(const QString &text)
{
    return new ElidedLabel(text, Kiv::font(10), {Kiv::Colour::inkFaint});
}

QStringList scenes()
{
    return {L(QStringLiteral("無音")), L(QStringLiteral("鈴の間")), L(QStringLiteral("せせらぎ")), L(QStringLiteral("雨")),
            L(QStringLiteral("心音"))};
}

} // namespace

ControlsSheet::ControlsSheet()
{
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(20, 20, 20, 20);
    row->setSpacing(28);
    auto *left = new QVBoxLayout;
    left->setSpacing(6);
    row->addLayout(left);
    row->addStretch(1);

    left->addWidget(caption(QStringLiteral("QComboBox")));
    auto *combo = new QComboBox;
    combo->setFont(Kiv::font(12));
    combo->addItems(scenes());
    combo->setCurrentIndex(1);
    combo->setMinimumWidth(int(200 * Kiv::scale()));
    left->addWidget(combo);

    left->addWidget(caption(QStringLiteral("MinuteField, QLineEdit")));
    auto *fields = new QHBoxLayout;
    auto *time = new MinuteField;
    time->setMinute(9 * 60 + 30);
    fields->addWidget(time);
    auto *edit = new QLineEdit(L(QStringLiteral("その場で書く")));
    edit->setFont(Kiv::font(13, Kiv::Design::serif));
    fields->addWidget(edit, 1);
    left->addLayout(fields);

    left->addWidget(caption(QStringLiteral("QSlider, ToggleSwitch")));
    auto *switches = new QHBoxLayout;
    auto *slider = new QSlider(Qt::Horizontal);
    slider->setValue(40);
    switches->addWidget(slider, 1);
    auto *on = new ToggleSwitch;
    on->setChecked(true);
    switches->addWidget(on);
    switches->addWidget(new ToggleSwitch);
    left->addLayout(switches);

    left->addWidget(caption(QStringLiteral("SegmentedControl, ChoiceRow")));
    auto *segments = new SegmentedControl({L(QStringLiteral("予定")), L(QStringLiteral("したこと"))});
    segments->setCurrentIndex(1);
    left->addWidget(segments, 0, Qt::AlignLeft);
    for (int i = 0; i < 2; ++i) {
        auto *choice = new ChoiceRow(i == 0 ? L(QStringLiteral("そのまま")) : L(QStringLiteral("大きく")),
                                     Kiv::font(12.5), Tone{Kiv::Colour::indigo}, 12);
        choice->setChosen(i == 0);
        left->addWidget(choice);
    }

    left->addWidget(caption(QStringLiteral("QScrollArea")));
    auto *scroll = new QScrollArea;
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    auto *page = new TextBlock(QString(), Kiv::font(12), {Kiv::Colour::inkSoft});
    QStringList lines;
    for (int i = 0; i < 12; ++i)
        lines << L(QStringLiteral("ときおり鉢が撞かれ、堂に響きが残る"));
    page->setText(lines.join(QLatin1Char('\n')));
    scroll->setWidget(page);
    scroll->setFixedSize(int(232 * Kiv::scale()), int(70 * Kiv::scale()));
    left->addWidget(scroll);

    left->addWidget(caption(QStringLiteral("MonthGrid")));
    auto *month = new MonthGrid(QStringLiteral("controls.month"));
    month->setMonth(QDate(2025, 3, 5));
    month->setToday(QDate(2025, 3, 5));
    month->setMarked({QDate(2025, 3, 20)});
    month->setFixedWidth(int(232 * Kiv::scale()));
    left->addWidget(month);
    left->addStretch(1);

    // The popups, drawn as pictures beside the controls.
    QMenu menu;
    auto *status = menu.addAction(QStringLiteral("%1\u3000%2\u3000%3").arg(L(QStringLiteral("一炷")), L(QStringLiteral("味わう")), QStringLiteral("50:00")));
    status->setEnabled(false);
    status->setProperty(InkStyle::kMenuLabel, true);
    QAction *pause = menu.addAction(L(QStringLiteral("とめる")));
    pause->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Return));
    menu.addAction(L(QStringLiteral("次へ")))->setEnabled(false);
    QMenu *sub = menu.addMenu(L(QStringLiteral("いつまでに")));
    sub->addAction(L(QStringLiteral("明日")));
    menu.addSeparator();
    QAction *chosen = menu.addAction(L(QStringLiteral("せせらぎ")));
    chosen->setCheckable(true);
    chosen->setChecked(true);
    menu.addAction(L(QStringLiteral("雨")))->setCheckable(true);
    menu.addSection(L(QStringLiteral("読み込んだ音")));
    menu.addAction(QStringLiteral("Morning creek"))->setCheckable(true);
    menu.ensurePolished();
    menu.setActiveAction(pause);
    m_pictures.append({QStringLiteral("QMenu"), picture(&menu, menu.sizeHint())});

    auto *host = new QWidget;
    host->setAttribute(Qt::WA_DontShowOnScreen);
    auto *listCombo = new QComboBox(host);
    listCombo->setFont(Kiv::font(12));
    listCombo->addItems(scenes());
    listCombo->setCurrentIndex(2);
    listCombo->resize(int(200 * Kiv::scale()), listCombo->sizeHint().height());
    host->show();
    listCombo->showPopup();
    QWidget *list = listCombo->view()->window();
    m_pictures.append({QStringLiteral("QComboBox list"), picture(list, list->size())});
    listCombo->hidePopup();
    delete host;

    auto *anchor = new QWidget;
    auto *popover = new Popover(anchor);
    auto *content = new QWidget;
    auto *column = new QVBoxLayout(content);
    const int pad = int(14 * Kiv::scale());
    column->setContentsMargins(pad, pad, pad, pad);
    column->addWidget(new ElidedLabel(L(QStringLiteral("いつまでに")), Kiv::font(12), {Kiv::Colour::inkSoft}));
    column->addWidget(new TextBlock(L(QStringLiteral("押すと置き、もう一度押すと外します。時刻は一日の頁で。")),
                                    Kiv::font(12), {Kiv::Colour::ink}));
    content->setFixedWidth(int(220 * Kiv::scale()));
    popover->setContent(content);
    popover->adjustSize();
    m_pictures.append({QStringLiteral("Popover"), picture(popover, popover->size())});
    delete anchor;

    int width = 0;
    double height = 40;
    for (const Picture &p : m_pictures) {
        width = std::max(width, int(p.image.width() / kRatio));
        height += Kiv::lineHeight(Kiv::font(10)) + 6 + p.image.height() / kRatio + 14;
    }
    row->addSpacing(width);
    setMinimumHeight(int(height));
    // Its whole size (a window shown at its size hint keeps within two
    // thirds of the screen).
    resize(sizeHint().expandedTo(minimumSize()));
}

void ControlsSheet::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), Kiv::paper());
    int width = 0;
    for (const Picture &p : m_pictures)
        width = std::max(width, int(p.image.width() / kRatio));
    const double x = this->width() - 20 - width;
    double y = 20;
    const QFont font = Kiv::font(10);
    painter.setFont(font);
    for (const Picture &p : m_pictures) {
        painter.setPen(Kiv::inkFaint());
        painter.drawText(QPointF(x, y + Kiv::pixelSize(font)), p.caption);
        y += Kiv::lineHeight(font) + 6;
        painter.drawImage(QPointF(x, y), p.image);
        y += p.image.height() / kRatio + 14;
    }
}
