#include "views/ViewTest.h"
#include "platform/desktop/Compositing.h"
#include "views/ink/InkStyle.h"
#include "views/ink/Popover.h"
#include "views/ink/PopupPanel.h"
#include "views/ink/SegmentedControl.h"
#include "views/ink/ToggleSwitch.h"
#include "views/day/MinuteField.h"
#include "views/settings/ChoiceRow.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyleOptionSlider>
#include <QTest>
#include <QVBoxLayout>
#include <cmath>

namespace {

// A page that paints a colour the theme never uses, so that anything a
// scroll area paints over it shows.
class Backdrop : public QWidget
{
protected:
    void paintEvent(QPaintEvent *) override { QPainter(this).fillRect(rect(), QColor(0, 200, 0)); }
};

QImage render(QWidget *widget, QColor background = Qt::transparent)
{
    QImage image(widget->size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(background);
    widget->render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}

// How far the strongest mark in a band of rows stands from the paper: the
// largest channel difference.
int strongestMark(const QImage &image, int top, int bottom)
{
    const QColor paper = Kiv::paper();
    int strongest = 0;
    for (int y = std::max(0, top); y < std::min(image.height(), bottom); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            strongest = std::max({strongest, std::abs(c.red() - paper.red()), std::abs(c.green() - paper.green()),
                                  std::abs(c.blue() - paper.blue())});
        }
    return strongest;
}

int distance(const QColor &a, const QColor &b)
{
    return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) + std::abs(a.blue() - b.blue());
}

struct InkStyleTest : ViewTest
{
    void SetUp() override
    {
        ViewTest::SetUp();
        InkStyle::install();
    }
    void TearDown() override
    {
        Compositing::setForTesting(std::nullopt);
        ViewTest::TearDown();
    }
};

TEST_F(InkStyleTest, AScrollAreaShowsThePaperBehindItsPageWhenAndHoweverThePageIsSet)
{
    Backdrop window;
    window.resize(240, 200);
    auto *layout = new QVBoxLayout(&window);
    auto *early = new QScrollArea;
    early->setWidgetResizable(true);
    early->setWidget(new QLabel(QStringLiteral("set before")));
    auto *late = new QScrollArea;
    late->setWidgetResizable(true);
    layout->addWidget(early);
    layout->addWidget(late);
    window.show();
    QCoreApplication::processEvents();
    // A page given to an area already shown, and one polished before it
    // was given (QScrollArea::setWidget turns its filling on).
    auto *page = new QLabel(QStringLiteral("set after"));
    page->ensurePolished();
    late->setWidget(page);
    QCoreApplication::processEvents();

    const QImage image = render(&window);
    for (QScrollArea *area : {early, late}) {
        const QPoint inside = area->widget()->mapTo(&window, QPoint(area->widget()->width() - 4, area->widget()->height() - 4));
        EXPECT_EQ(image.pixelColor(inside), QColor(0, 200, 0)) << "no flat colour over the page's backdrop";
    }
}

TEST_F(InkStyleTest, ScrollBarsAreThinWithoutArrowsAndTheirHandleStillDrags)
{
    QScrollBar bar(Qt::Vertical);
    bar.setRange(0, 900);
    bar.setPageStep(100);
    bar.resize(bar.sizeHint().width(), 300);
    EXPECT_LE(bar.sizeHint().width(), 10);
    QStyleOptionSlider option;
    option.initFrom(&bar);
    option.orientation = Qt::Vertical;
    option.minimum = 0;
    option.maximum = 900;
    option.pageStep = 100;
    option.sliderPosition = 0;
    QStyle *style = bar.style();
    for (QStyle::SubControl arrow : {QStyle::SC_ScrollBarAddLine, QStyle::SC_ScrollBarSubLine})
        EXPECT_TRUE(style->subControlRect(QStyle::CC_ScrollBar, &option, arrow, &bar).isEmpty());
    EXPECT_EQ(style->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarGroove, &bar), bar.rect());

    bar.show();
    // A press at the very end pages down (no arrow sits there).
    QTest::mouseClick(&bar, Qt::LeftButton, {}, QPoint(bar.width() / 2, bar.height() - 2));
    EXPECT_EQ(bar.value(), 100);
    // The handle follows a drag: half the free track is half the range.
    bar.setValue(0);
    const QRect handle = style->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider, &bar);
    ASSERT_GT(handle.height(), 0);
    const QPoint grip(bar.width() / 2, handle.center().y());
    QTest::mousePress(&bar, Qt::LeftButton, {}, grip);
    QMouseEvent move(QEvent::MouseMove, QPointF(grip + QPoint(0, (bar.height() - handle.height()) / 2)),
                     bar.mapToGlobal(QPointF(grip + QPoint(0, (bar.height() - handle.height()) / 2))), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&bar, &move);
    QTest::mouseRelease(&bar, Qt::LeftButton, {}, grip + QPoint(0, (bar.height() - handle.height()) / 2));
    EXPECT_NEAR(bar.value(), 450, 10);
}

TEST_F(InkStyleTest, MenusTakeTheTextScaleEachTimeTheyOpenAndKeepTheirSectionTitles)
{
    QMenu menu;
    menu.addAction(QStringLiteral("無音"));
    menu.addSection(QStringLiteral("読み込んだ音"));
    menu.addAction(QStringLiteral("Morning creek"));
    menu.ensurePolished();
    EXPECT_DOUBLE_EQ(Kiv::pixelSize(menu.font()), 13.0);
    const int plainHeight = menu.sizeHint().height();

    Kiv::setScale(1.6);
    menu.popup(QPoint(10, 10));
    EXPECT_NEAR(Kiv::pixelSize(menu.font()), 13.0 * 1.6, 0.01) << "a kept menu (the tray's) follows the scale";
    EXPECT_GT(menu.sizeHint().height(), plainHeight);
    menu.close();

    // The section is a row of its own with its title, not a bare line.
    QMenu lines;
    lines.addAction(QStringLiteral("無音"));
    lines.addSeparator();
    lines.addAction(QStringLiteral("Morning creek"));
    lines.ensurePolished();
    QMenu titled;
    titled.addAction(QStringLiteral("無音"));
    titled.addSection(QStringLiteral("読み込んだ音"));
    titled.addAction(QStringLiteral("Morning creek"));
    titled.ensurePolished();
    EXPECT_GT(titled.sizeHint().height(), lines.sizeHint().height() + 8);
}

TEST_F(InkStyleTest, AMenuLabelReadsInSoftInkWhereADisabledCommandIsGhosted)
{
    for (Kiv::Appearance appearance : {Kiv::Appearance::light, Kiv::Appearance::dark}) {
        Kiv::setAppearance(appearance);
        Compositing::setForTesting(false);
        QMenu menu;
        menu.setPalette(Kiv::palette(appearance));
        QAction *label = menu.addAction(QStringLiteral("一炷　味わう　50:00"));
        label->setEnabled(false);
        label->setProperty(InkStyle::kMenuLabel, true);
        QAction *disabled = menu.addAction(QStringLiteral("一炷　味わう　50:00"));
        disabled->setEnabled(false);
        menu.resize(menu.sizeHint());
        const QImage image = render(&menu);
        const QRect first = menu.actionGeometry(label), second = menu.actionGeometry(disabled);
        const int labelInk = strongestMark(image, first.top(), first.bottom());
        const int ghostInk = strongestMark(image, second.top(), second.bottom());
        EXPECT_GT(labelInk, ghostInk * 3 / 2) << (appearance == Kiv::Appearance::dark ? "dark" : "light");
    }
}

TEST_F(InkStyleTest, ADropDownsListLiesOnThePopupPaperWhateverTheApplicationsPalette)
{
    // The toolkit fills each row with the menus' palette: a stock grey.
    const QPalette kept = QApplication::palette();
    QApplication::setPalette(QPalette(QColor(0xEF, 0xEF, 0xEF)));
    QWidget window;
    auto *combo = new QComboBox(&window);
    combo->addItems({QStringLiteral("無音"), QStringLiteral("鈴の間"), QStringLiteral("雨")});
    combo->resize(200, combo->sizeHint().height());
    window.resize(240, 100);
    window.show();
    combo->showPopup();
    QWidget *list = combo->view()->window();
    ASSERT_TRUE(list->isVisible());
    // The list's sheet, inside the room kept for its shadow, stands as wide
    // as the drop-down and in line with it.
    const int room = PopupPanel::room(list);
    EXPECT_EQ(list->width() - 2 * room, combo->width());
    EXPECT_EQ(list->x() + room, combo->mapToGlobal(QPoint(0, 0)).x());
    const QImage image = render(list);
    const QRect row = combo->view()->visualRect(combo->model()->index(2, 0));
    const QPoint inRow = combo->view()->viewport()->mapTo(list, QPoint(row.right() - 6, row.center().y()));
    EXPECT_LE(combo->view()->viewport()->mapTo(list, row.topRight()).x(), list->width()) << "rows fit in the list";
    EXPECT_EQ(image.pixelColor(inRow), Kiv::paper());
    combo->hidePopup();
    QApplication::setPalette(kept);
}

TEST_F(InkStyleTest, DropDownAndTimeFieldArrowsGrowWithTheirText)
{
    struct Sizes
    {
        int comboHeight, comboArrow, fieldHeight, fieldArrow;
    };
    auto measure = [](double scale) {
        Kiv::setScale(scale);
        QComboBox combo;
        combo.setFont(Kiv::font(12.5));
        combo.addItem(QStringLiteral("鈴の間"));
        MinuteField field;
        QStyleOptionComboBox comboOption;
        comboOption.initFrom(&combo);
        QStyleOptionSpinBox fieldOption;
        fieldOption.initFrom(&field);
        fieldOption.rect = QRect(QPoint(), field.sizeHint());
        fieldOption.buttonSymbols = QAbstractSpinBox::UpDownArrows;
        comboOption.rect = QRect(QPoint(), combo.sizeHint());
        const QRect arrow =
            combo.style()->subControlRect(QStyle::CC_ComboBox, &comboOption, QStyle::SC_ComboBoxArrow, &combo);
        const QRect up = field.style()->subControlRect(QStyle::CC_SpinBox, &fieldOption, QStyle::SC_SpinBoxUp, &field);
        return Sizes{combo.sizeHint().height(), arrow.width(), field.sizeHint().height(), up.width()};
    };
    const Sizes small = measure(1.0), large = measure(1.6);
    EXPECT_GT(large.comboHeight, small.comboHeight * 1.3);
    EXPECT_GT(large.comboArrow, small.comboArrow);
    EXPECT_GT(large.fieldHeight, small.fieldHeight * 1.3);
    EXPECT_GT(large.fieldArrow, small.fieldArrow);
}

TEST_F(InkStyleTest, APopoverKeepsRoomForItsShadowOnlyWhereTheDesktopComposes)
{
    QWidget window;
    window.resize(300, 200);
    auto *anchor = new QWidget(&window);
    anchor->setGeometry(100, 40, 60, 20);
    window.show();
    for (bool composes : {true, false}) {
        Compositing::setForTesting(composes);
        auto *popover = new Popover(anchor);
        auto *content = new QWidget;
        content->setFixedSize(120, 80);
        popover->setContent(content);
        popover->open(Qt::BottomEdge);
        const int room = composes ? PopupPanel::kShadowRoom : 0;
        EXPECT_EQ(popover->testAttribute(Qt::WA_TranslucentBackground), composes);
        EXPECT_EQ(popover->size(), QSize(122 + 2 * room, 82 + 2 * room));
        // The sheet, not the window around it, stands under the anchor.
        const QRect area = anchor->screen()->availableGeometry();
        const QPoint expected = Popover::placement(QRect(anchor->mapToGlobal(QPoint()), anchor->size()),
                                                   QSize(122, 82), area, Qt::BottomEdge);
        EXPECT_EQ(popover->pos() + QPoint(room, room), expected);
        EXPECT_EQ(popover->mask().isEmpty(), composes) << "cut to its rounded outline where nothing composes";
        popover->close();
        delete popover;
    }
}

TEST_F(InkStyleTest, TheSwitchKnobAndTheChosenSegmentStandOutInBothAppearances)
{
    for (Kiv::Appearance appearance : {Kiv::Appearance::light, Kiv::Appearance::dark}) {
        Kiv::setAppearance(appearance);
        const char *name = appearance == Kiv::Appearance::dark ? "dark" : "light";
        // The knob against the track, off and on.
        for (double knob : {0.0, 1.0}) {
            QImage image(QSize(36, 22), QImage::Format_ARGB32_Premultiplied);
            image.fill(Kiv::paper());
            QPainter painter(&image);
            ToggleSwitch::draw(painter, QSizeF(36, 22), knob, true, false);
            painter.end();
            const QColor knobAt = image.pixelColor(knob > 0 ? 26 : 10, 11);
            const QColor trackAt = image.pixelColor(knob > 0 ? 9 : 27, 11);
            EXPECT_GT(distance(knobAt, trackAt), 120) << name << " knob " << knob;
        }
        // The chosen segment lies further from the paper than the other.
        SegmentedControl control({QStringLiteral("予定"), QStringLiteral("したこと")});
        control.setPalette(Kiv::palette(appearance));
        control.setCurrentIndex(1);
        control.resize(control.sizeHint());
        control.show();
        const QImage image = render(&control, Kiv::paper());
        auto fillOf = [&](int index) {
            const QRect r = control.segment(index)->geometry();
            return image.pixelColor(r.left() + 3, r.top() + 3);
        };
        EXPECT_GT(distance(fillOf(1), Kiv::paper()), distance(fillOf(0), Kiv::paper()) + 150) << name;
    }
}

TEST_F(InkStyleTest, ARadioMarkKeepsItsSizeWithItsTextUntilItsRowIsBuiltAgain)
{
    ChoiceRow row(QStringLiteral("そのまま"), Kiv::font(12.5), Tone{Kiv::Colour::indigo}, 12);
    const QSize built = row.sizeHint();
    Kiv::setScale(1.6);
    EXPECT_EQ(row.sizeHint(), built) << "the text was set at scale 1; the mark stays beside it";
    ChoiceRow rebuilt(QStringLiteral("そのまま"), Kiv::font(12.5), Tone{Kiv::Colour::indigo}, 12);
    EXPECT_GT(rebuilt.sizeHint().height(), built.height() * 1.4);
}

} // namespace
