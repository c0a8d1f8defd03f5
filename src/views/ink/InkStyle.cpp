#include "views/ink/InkStyle.h"

#include "core/Kiv.h"
#include "platform/desktop/Compositing.h"
#include "views/ink/PopupPanel.h"
#include "views/ink/SymbolPainter.h"
#include "views/ink/ToggleSwitch.h"

#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QMenu>
#include <QPainter>
#include <QPainterPath>
#include <QPointer>
#include <QScrollArea>
#include <QStyleFactory>
#include <QStyleOption>
#include <QTimer>
#include <cmath>

namespace {

// Menu rows.
constexpr int kMenuPadLeft = 12;
constexpr int kMenuPadRight = 14;
constexpr int kMenuRowPad = 5;     // above and below the text
constexpr int kMenuMarkGap = 6;    // after the check or icon column
constexpr int kMenuShortcutGap = 28;
constexpr int kMenuVMargin = 5;    // inside the sheet, above the first row and below the last
constexpr int kSeparatorHeight = 9;

// Fields (drop-downs, time and number fields, framed text fields).
constexpr double kFieldRadius = 6;
constexpr int kFieldPadX = 10;
constexpr int kFieldPadY = 6;

// Scroll bars.
constexpr int kScrollBarExtent = 10;
constexpr int kScrollBarHandleMin = 28;

// Sliders.
constexpr int kKnob = 16;

double fontPixels(const QStyleOption *option, const QWidget *widget)
{
    if (widget)
        return Kiv::pixelSize(widget->font());
    // The Noto faces declare lines of about 1.45 × their size.
    return option ? option->fontMetrics.height() / 1.45 : 13.0;
}

bool isComboList(const QWidget *widget)
{
    return widget && widget->inherits("QComboBoxPrivateContainer");
}

// The width of a drop-down's chevron column, and of a field's arrow column.
int arrowColumn(double fontPx)
{
    return int(std::ceil(SymbolPainter::size(0.75 * fontPx).width())) + 14;
}

QString withoutMnemonic(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) == QLatin1Char('&') && i + 1 < text.size()) {
            ++i; // "&&" keeps one ampersand; "&x" keeps the x
        }
        out += text.at(i);
    }
    return out;
}

QFont sectionFont(const QFont &rowFont)
{
    QFont f = rowFont;
    f.setPointSizeF(rowFont.pointSizeF() * 11.0 / 13.0);
    return f;
}

int markSide(const QFont &font)
{
    return int(std::ceil(SymbolPainter::size(0.85 * Kiv::pixelSize(font)).width()));
}

// The room a drop-down's list keeps around its sheet: its own, once the
// list exists, else what a list made now would keep.
int listRoom(const QWidget *combo)
{
    if (combo)
        for (const QObject *child : combo->children())
            if (child->isWidgetType() && isComboList(static_cast<const QWidget *>(child)))
                return PopupPanel::room(static_cast<const QWidget *>(child));
    return Compositing::available() ? PopupPanel::kShadowRoom : 0;
}

bool isMenuLabel(const QStyleOptionMenuItem *item, const QWidget *widget)
{
    const auto *menu = qobject_cast<const QMenu *>(widget);
    if (!menu)
        return false;
    const QAction *action = menu->actionAt(item->rect.center());
    return action && action->property(InkStyle::kMenuLabel).toBool();
}

} // namespace

InkStyle::InkStyle()
    : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion")))
{
    setObjectName(QStringLiteral("ink"));
}

void InkStyle::install()
{
    if (qobject_cast<InkStyle *>(QApplication::style()))
        return;
    QApplication::setStyle(new InkStyle);
    // Every window's text is set from the theme; the default font is the
    // theme's too. A text field lays out its (empty) text in the default
    // font while it is being made, before its own is set, and the desktop's
    // default font would be loaded for that alone before the first window
    // shows.
    QApplication::setFont(menuFont());
}

QFont InkStyle::menuFont()
{
    return Kiv::font(13);
}

void InkStyle::polish(QWidget *widget)
{
    QProxyStyle::polish(widget);
    if (auto *menu = qobject_cast<QMenu *>(widget)) {
        PopupPanel::prepare(menu);
        menu->setFont(menuFont());
        // A menu kept for later (the tray's, a menu button's) takes the text
        // scale in effect each time it opens.
        if (!menu->property("inkFontFollows").toBool()) {
            menu->setProperty("inkFontFollows", true);
            connect(menu, &QMenu::aboutToShow, menu, [menu] {
                if (menu->font() != menuFont())
                    menu->setFont(menuFont());
            });
        }
        menu->installEventFilter(this);
    } else if (isComboList(widget)) {
        PopupPanel::prepare(widget);
        widget->installEventFilter(this);
        // The rows paint on the sheet; the list itself paints nothing.
        for (auto *view : widget->findChildren<QAbstractItemView *>(Qt::FindDirectChildrenOnly)) {
            view->setAutoFillBackground(false);
            view->viewport()->setAutoFillBackground(false);
        }
    } else if (auto *area = qobject_cast<QScrollArea *>(widget)) {
        // A scroll area shows the paper behind it: neither it, its viewport
        // nor its page paints a flat colour (QScrollArea::setWidget turns the
        // page's filling on; a page set later is caught as it arrives).
        area->setAutoFillBackground(false);
        area->viewport()->setAutoFillBackground(false);
        if (area->widget())
            area->widget()->setAutoFillBackground(false);
        area->viewport()->installEventFilter(this);
    } else if (widget->inherits("QTipLabel")) {
        widget->setFont(Kiv::font(12));
    }
    if (QWidget *viewport = widget->parentWidget())
        if (auto *area = qobject_cast<QScrollArea *>(viewport->parentWidget()); area && area->widget() == widget)
            widget->setAutoFillBackground(false);
    if (qobject_cast<QComboBox *>(widget) || qobject_cast<QAbstractSpinBox *>(widget))
        widget->setAttribute(Qt::WA_Hover);
}

void InkStyle::unpolish(QWidget *widget)
{
    if (qobject_cast<QMenu *>(widget) || isComboList(widget))
        widget->removeEventFilter(this);
    else if (auto *area = qobject_cast<QScrollArea *>(widget))
        area->viewport()->removeEventFilter(this);
    QProxyStyle::unpolish(widget);
}

bool InkStyle::eventFilter(QObject *watched, QEvent *event)
{
    auto *widget = qobject_cast<QWidget *>(watched);
    if (!widget)
        return false;
    switch (event->type()) {
    case QEvent::Show:
        // A see-through popup keeps room for its shadow around the sheet:
        // it opens that much up and to the left, so that the sheet itself
        // stands where the toolkit placed the window.
        if (widget->isWindow() && (qobject_cast<QMenu *>(widget) || isComboList(widget))) {
            const int room = PopupPanel::room(widget);
            if (room > 0)
                widget->move(widget->pos() - QPoint(room, room));
        }
        break;
    case QEvent::Resize:
        // Where the desktop does not compose, the drop-down's list is cut to
        // the sheet's rounded outline (menus get theirs through SH_Menu_Mask).
        if (isComboList(widget) && !PopupPanel::isTranslucent(widget))
            widget->setMask(PopupPanel::mask(widget->size()));
        break;
    case QEvent::Paint:
        // A masked list does not paint its menu panel itself.
        if (isComboList(widget) && !widget->mask().isEmpty()) {
            QPainter painter(widget);
            PopupPanel::draw(painter, QSizeF(widget->size()), 0);
        }
        break;
    case QEvent::ChildAdded:
        if (auto *area = qobject_cast<QScrollArea *>(widget->parentWidget()); area && area->viewport() == widget) {
            QPointer<QScrollArea> guard(area);
            QTimer::singleShot(0, area, [guard] {
                if (guard && guard->widget())
                    guard->widget()->setAutoFillBackground(false);
            });
        }
        break;
    default:
        break;
    }
    return false;
}

int InkStyle::pixelMetric(PixelMetric metric, const QStyleOption *option, const QWidget *widget) const
{
    switch (metric) {
    case PM_MenuPanelWidth:
        return 1 + PopupPanel::room(widget);
    case PM_DefaultFrameWidth:
        if (isComboList(widget))
            return 1 + PopupPanel::room(widget);
        break;
    case PM_MenuHMargin:
        return 0;
    case PM_MenuVMargin:
        return kMenuVMargin;
    case PM_MenuDesktopFrameWidth:
        return 0;
    case PM_SubMenuOverlap:
        return 0;
    case PM_ScrollBarExtent:
        return kScrollBarExtent;
    case PM_ScrollBarSliderMin:
        return kScrollBarHandleMin;
    case PM_SliderLength:
    case PM_SliderControlThickness:
        return kKnob;
    case PM_SliderThickness:
        return kKnob + 4;
    case PM_ComboBoxFrameWidth:
    case PM_SpinBoxFrameWidth:
        return 2;
    default:
        break;
    }
    return QProxyStyle::pixelMetric(metric, option, widget);
}

int InkStyle::styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                        QStyleHintReturn *returnData) const
{
    switch (hint) {
    case SH_ComboBox_Popup:
    case SH_ComboBox_ListMouseTracking:
    case SH_Menu_Scrollable:
    case SH_Menu_SupportsSections:
        return 1;
    case SH_ComboBox_PopupFrameStyle:
        return QFrame::StyledPanel | QFrame::Plain;
    case SH_Menu_FlashTriggeredItem:
    case SH_ScrollBar_Transient:
        return 0;
    case SH_Menu_Mask:
        // An opaque menu is cut to the sheet's rounded outline.
        if (qobject_cast<const QMenu *>(widget) && !PopupPanel::isTranslucent(widget)) {
            if (auto *mask = qstyleoption_cast<QStyleHintReturnMask *>(returnData))
                mask->region = PopupPanel::mask(widget->size());
            return 1;
        }
        return 0;
    default:
        break;
    }
    return QProxyStyle::styleHint(hint, option, widget, returnData);
}

QSize InkStyle::sizeFromContents(ContentsType type, const QStyleOption *option, const QSize &contentsSize,
                                 const QWidget *widget) const
{
    switch (type) {
    case CT_MenuItem:
        if (const auto *item = qstyleoption_cast<const QStyleOptionMenuItem *>(option)) {
            const QFont font = item->font;
            if (item->menuItemType == QStyleOptionMenuItem::Separator) {
                if (item->text.isEmpty())
                    return {20, kSeparatorHeight};
                const QFont small = sectionFont(font);
                const int width = QFontMetrics(small).horizontalAdvance(withoutMnemonic(item->text));
                return {width + kMenuPadLeft + kMenuPadRight, int(std::ceil(Kiv::lineHeight(small))) + 10};
            }
            // A menu hands over its text's width; a drop-down's list hands
            // over the width of its rows, which the text must fit in.
            const bool menu = qobject_cast<const QMenu *>(widget);
            int width = (menu ? contentsSize.width() : QFontMetrics(font).horizontalAdvance(withoutMnemonic(item->text)))
                        + kMenuPadLeft + kMenuPadRight;
            if (item->menuHasCheckableItems || item->maxIconWidth > 0)
                width += markSide(font) + kMenuMarkGap;
            if (item->menuItemType == QStyleOptionMenuItem::SubMenu)
                width += markSide(font) + 4;
            if (item->text.contains(QLatin1Char('\t')))
                width += kMenuShortcutGap;
            if (!menu)
                width = std::max(width, contentsSize.width());
            const int height = int(std::ceil(Kiv::lineHeight(font))) + 2 * kMenuRowPad;
            return {width, std::max(height, markSide(font) + 4)};
        }
        break;
    case CT_ComboBox:
    case CT_SpinBox: {
        const QFont font = widget ? widget->font() : QFont();
        const double px = fontPixels(option, widget);
        const int height = int(std::ceil(widget ? Kiv::lineHeight(font) : px * 1.2)) + 2 * kFieldPadY;
        return {contentsSize.width() + kFieldPadX + arrowColumn(px) + 4, height};
    }
    default:
        break;
    }
    return QProxyStyle::sizeFromContents(type, option, contentsSize, widget);
}

QRect InkStyle::subControlRect(ComplexControl control, const QStyleOptionComplex *option, SubControl subControl,
                               const QWidget *widget) const
{
    switch (control) {
    case CC_ScrollBar:
        if (const auto *bar = qstyleoption_cast<const QStyleOptionSlider *>(option)) {
            // No arrow buttons: the groove is the whole bar.
            const QRect r = bar->rect;
            const bool horizontal = bar->orientation == Qt::Horizontal;
            const int length = horizontal ? r.width() : r.height();
            const qint64 range = qint64(bar->maximum) - bar->minimum;
            int handle = length;
            if (range > 0)
                handle = int(std::max<qint64>(kScrollBarHandleMin,
                                              qint64(length) * bar->pageStep / std::max<qint64>(1, range + bar->pageStep)));
            handle = std::min(handle, length);
            const int start = sliderPositionFromValue(bar->minimum, bar->maximum, bar->sliderPosition, length - handle,
                                                      bar->upsideDown);
            auto span = [&](int from, int size) {
                return horizontal ? QRect(r.left() + from, r.top(), size, r.height())
                                  : QRect(r.left(), r.top() + from, r.width(), size);
            };
            QRect out;
            switch (subControl) {
            case SC_ScrollBarGroove: out = r; break;
            case SC_ScrollBarSlider: out = span(start, handle); break;
            case SC_ScrollBarSubPage: out = span(0, start); break;
            case SC_ScrollBarAddPage: out = span(start + handle, length - start - handle); break;
            default: return {};
            }
            return visualRect(bar->direction, r, out);
        }
        break;
    case CC_ComboBox:
        if (const auto *combo = qstyleoption_cast<const QStyleOptionComboBox *>(option)) {
            const QRect r = combo->rect;
            const int arrow = arrowColumn(fontPixels(option, widget));
            QRect out;
            switch (subControl) {
            case SC_ComboBoxFrame: out = r; break;
            // The list's window is wider by the room around its sheet, so
            // that the sheet is as wide as the drop-down.
            case SC_ComboBoxListBoxPopup: out = r.adjusted(0, 0, 2 * listRoom(widget), 0); break;
            case SC_ComboBoxArrow: out = QRect(r.right() + 1 - arrow, r.top(), arrow, r.height()); break;
            case SC_ComboBoxEditField: out = QRect(r.left() + kFieldPadX, r.top() + 2, r.width() - kFieldPadX - arrow, r.height() - 4); break;
            default: return {};
            }
            return visualRect(combo->direction, r, out);
        }
        break;
    case CC_SpinBox:
        if (const auto *spin = qstyleoption_cast<const QStyleOptionSpinBox *>(option)) {
            const QRect r = spin->rect;
            const int arrows = spin->buttonSymbols == QAbstractSpinBox::NoButtons ? 0 : arrowColumn(fontPixels(option, widget));
            const int half = r.height() / 2;
            QRect out;
            switch (subControl) {
            case SC_SpinBoxFrame: out = r; break;
            case SC_SpinBoxUp: out = arrows ? QRect(r.right() + 1 - arrows, r.top() + 2, arrows - 2, half - 2) : QRect(); break;
            case SC_SpinBoxDown: out = arrows ? QRect(r.right() + 1 - arrows, r.top() + half, arrows - 2, r.height() - half - 2) : QRect(); break;
            case SC_SpinBoxEditField: out = QRect(r.left() + kFieldPadX, r.top() + 2, r.width() - kFieldPadX - std::max(arrows, kFieldPadX), r.height() - 4); break;
            default: return {};
            }
            return visualRect(spin->direction, r, out);
        }
        break;
    default:
        break;
    }
    return QProxyStyle::subControlRect(control, option, subControl, widget);
}

void InkStyle::drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                             const QWidget *widget) const
{
    switch (element) {
    case PE_PanelMenu:
        PopupPanel::draw(*painter, widget ? QSizeF(widget->size()) : QSizeF(option->rect.size()), PopupPanel::room(widget));
        return;
    case PE_FrameMenu:
        return;
    case PE_Frame:
        if (isComboList(widget))
            return;
        break;
    case PE_PanelLineEdit:
        if (const auto *frame = qstyleoption_cast<const QStyleOptionFrame *>(option)) {
            // The text part of a time or number field lies on the field.
            if (widget && qobject_cast<const QAbstractSpinBox *>(widget->parentWidget()))
                return;
            if (frame->lineWidth > 0) {
                drawField(option, painter, false, true);
                return;
            }
        }
        break;
    case PE_FrameLineEdit:
        return;
    case PE_PanelTipLabel: {
        painter->save();
        painter->fillRect(option->rect, Kiv::paperRaised());
        painter->setPen(QPen(Kiv::hairline(), 1));
        painter->drawRect(QRectF(option->rect).adjusted(0.5, 0.5, -0.5, -0.5));
        painter->restore();
        return;
    }
    default:
        break;
    }
    QProxyStyle::drawPrimitive(element, option, painter, widget);
}

void InkStyle::drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                           const QWidget *widget) const
{
    switch (element) {
    case CE_MenuItem:
        drawMenuItem(option, painter, widget);
        return;
    case CE_MenuEmptyArea:
    case CE_MenuTearoff:
        return;
    case CE_MenuScroller: {
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        const QRectF r = option->rect;
        const double side = std::min(r.height(), 12.0);
        const bool down = option->state & State_DownArrow;
        SymbolPainter::paint(*painter, QRectF(r.center().x() - side / 2, r.center().y() - side / 2, side, side),
                             down ? Symbol::chevronDown : Symbol::chevronUp, Kiv::inkSoft());
        painter->restore();
        return;
    }
    case CE_ComboBoxLabel:
        if (const auto *combo = qstyleoption_cast<const QStyleOptionComboBox *>(option)) {
            const QRect field = subControlRect(CC_ComboBox, combo, SC_ComboBoxEditField, widget);
            const QFont font = widget ? widget->font() : painter->font();
            painter->save();
            painter->setFont(font);
            painter->setPen((combo->state & State_Enabled) ? Kiv::ink() : Kiv::inkGhost());
            const QString text = QFontMetrics(font).elidedText(combo->currentText, Qt::ElideRight, field.width());
            painter->drawText(QPointF(field.left(), Kiv::baselineFor(font, QRectF(combo->rect).center().y())), text);
            painter->restore();
            return;
        }
        break;
    default:
        break;
    }
    QProxyStyle::drawControl(element, option, painter, widget);
}

void InkStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex *option, QPainter *painter,
                                  const QWidget *widget) const
{
    switch (control) {
    case CC_ScrollBar:
        drawScrollBar(option, painter, widget);
        return;
    case CC_ComboBox: {
        drawField(option, painter, option->state & State_MouseOver, false);
        const QRectF arrow = subControlRect(CC_ComboBox, option, SC_ComboBoxArrow, widget);
        const QSizeF side = SymbolPainter::size(0.75 * fontPixels(option, widget));
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        SymbolPainter::paint(*painter,
                             QRectF(arrow.center().x() - side.width() / 2 - 2, arrow.center().y() - side.height() / 2,
                                    side.width(), side.height()),
                             Symbol::chevronDown, (option->state & State_Enabled) ? Kiv::inkSoft() : Kiv::inkGhost());
        painter->restore();
        return;
    }
    case CC_SpinBox:
        if (const auto *spin = qstyleoption_cast<const QStyleOptionSpinBox *>(option)) {
            const bool hovered = spin->state & State_MouseOver;
            drawField(option, painter, hovered, true);
            if (spin->buttonSymbols == QAbstractSpinBox::NoButtons)
                return;
            painter->save();
            painter->setRenderHint(QPainter::Antialiasing);
            const double px = fontPixels(option, widget);
            const QSizeF side = SymbolPainter::size(0.7 * px);
            const bool enabled = spin->state & State_Enabled;
            for (SubControl part : {SC_SpinBoxUp, SC_SpinBoxDown}) {
                const QRectF r = subControlRect(CC_SpinBox, spin, part, widget);
                const bool can = enabled && (spin->stepEnabled & (part == SC_SpinBoxUp ? QAbstractSpinBox::StepUpEnabled
                                                                                       : QAbstractSpinBox::StepDownEnabled));
                const bool under = hovered && (spin->activeSubControls & part);
                const QColor colour = !can ? Kiv::inkGhost() : under ? Kiv::indigo() : Kiv::inkSoft();
                // The two chevrons stand close together around the middle.
                const double y = part == SC_SpinBoxUp ? r.bottom() + 1 - side.height() * 0.8 : r.top() - side.height() * 0.2;
                SymbolPainter::paint(*painter, QRectF(r.center().x() - side.width() / 2, y, side.width(), side.height()),
                                     part == SC_SpinBoxUp ? Symbol::chevronUp : Symbol::chevronDown, colour);
            }
            painter->restore();
            return;
        }
        break;
    case CC_Slider:
        drawSlider(option, painter, widget);
        return;
    default:
        break;
    }
    QProxyStyle::drawComplexControl(control, option, painter, widget);
}

void InkStyle::drawMenuItem(const QStyleOption *option, QPainter *painter, const QWidget *widget) const
{
    const auto *item = qstyleoption_cast<const QStyleOptionMenuItem *>(option);
    if (!item)
        return;
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    const QRectF r = item->rect;
    const QFont font = item->font;
    if (item->menuItemType == QStyleOptionMenuItem::Separator) {
        if (item->text.isEmpty()) {
            const double y = std::floor(r.center().y()) + 0.5;
            painter->setPen(QPen(Kiv::hairline(), 1));
            painter->drawLine(QPointF(r.left() + 10, y), QPointF(r.right() + 1 - 10, y));
        } else {
            // A section's heading: small, faint, on its own line.
            const QFont small = sectionFont(font);
            painter->setFont(small);
            painter->setPen(Kiv::inkFaint());
            painter->drawText(QPointF(r.left() + kMenuPadLeft, Kiv::baselineFor(small, r.center().y() + 2)),
                              withoutMnemonic(item->text));
        }
        painter->restore();
        return;
    }
    if (item->menuItemType != QStyleOptionMenuItem::Normal && item->menuItemType != QStyleOptionMenuItem::SubMenu
        && item->menuItemType != QStyleOptionMenuItem::DefaultItem) {
        painter->restore();
        return;
    }
    // A drop-down's list fills each row with its palette's window colour
    // before the row is drawn; the row lies on the popup's paper instead.
    if (!qobject_cast<const QMenu *>(widget))
        painter->fillRect(r, Kiv::paper());
    const bool enabled = item->state & State_Enabled;
    const bool label = isMenuLabel(item, widget);
    const bool lit = enabled && !label && (item->state & State_Selected);
    if (lit) {
        QPainterPath row;
        row.addRoundedRect(r.adjusted(4, 1, -4, -1), 5, 5);
        painter->fillPath(row, Kiv::indigo(0.16));
    }
    const QColor ink = label ? Kiv::inkSoft() : enabled ? Kiv::ink() : Kiv::inkGhost();
    const double cy = r.center().y() + 0.5;
    double x = r.left() + kMenuPadLeft;
    const int mark = markSide(font);
    if (item->menuHasCheckableItems || item->maxIconWidth > 0) {
        const QRectF box(x, cy - mark / 2.0, mark, mark);
        if (!item->icon.isNull())
            item->icon.paint(painter, box.toAlignedRect(), Qt::AlignCenter, enabled ? QIcon::Normal : QIcon::Disabled);
        else if (item->checkType != QStyleOptionMenuItem::NotCheckable && item->checked)
            SymbolPainter::paint(*painter, box, Symbol::checkmark, ink);
        x += mark + kMenuMarkGap;
    }
    double right = r.right() + 1 - kMenuPadRight;
    if (item->menuItemType == QStyleOptionMenuItem::SubMenu) {
        const double side = mark * 0.8;
        SymbolPainter::paint(*painter, QRectF(right - side, cy - side / 2, side, side), Symbol::chevronRight,
                             enabled ? Kiv::inkSoft() : Kiv::inkGhost());
        right -= side + 4;
    }
    const qsizetype tab = item->text.indexOf(QLatin1Char('\t'));
    const QString text = withoutMnemonic(tab >= 0 ? item->text.left(tab) : item->text);
    const QString shortcut = tab >= 0 ? item->text.mid(tab + 1) : QString();
    const QFontMetricsF metrics(font);
    painter->setFont(font);
    const double baseline = Kiv::baselineFor(font, cy);
    if (!shortcut.isEmpty()) {
        const double w = metrics.horizontalAdvance(shortcut);
        painter->setPen(enabled ? Kiv::inkFaint() : Kiv::inkGhost());
        painter->drawText(QPointF(right - w, baseline), shortcut);
        right -= w + kMenuShortcutGap;
    }
    painter->setPen(ink);
    painter->drawText(QPointF(x, baseline), metrics.elidedText(text, Qt::ElideRight, std::max(0.0, right - x)));
    painter->restore();
}

void InkStyle::drawScrollBar(const QStyleOptionComplex *option, QPainter *painter, const QWidget *widget) const
{
    const auto *bar = qstyleoption_cast<const QStyleOptionSlider *>(option);
    if (!bar || bar->minimum >= bar->maximum)
        return;
    const QRectF handle = subControlRect(CC_ScrollBar, bar, SC_ScrollBarSlider, widget);
    const bool horizontal = bar->orientation == Qt::Horizontal;
    const bool pressed = (bar->activeSubControls & SC_ScrollBarSlider) && (bar->state & State_Sunken);
    const bool hovered = bar->state & State_MouseOver;
    // A thin stroke of ink along the far edge, a little wider under the pointer.
    const double thickness = pressed || hovered ? 6 : 4;
    const QRectF stroke = horizontal ? QRectF(handle.left() + 2, handle.bottom() + 1 - 2 - thickness, handle.width() - 4, thickness)
                                     : QRectF(handle.right() + 1 - 2 - thickness, handle.top() + 2, thickness, handle.height() - 4);
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    QPainterPath path;
    path.addRoundedRect(stroke, thickness / 2, thickness / 2);
    painter->fillPath(path, Kiv::ink(pressed ? 0.45 : hovered ? 0.34 : 0.24));
    painter->restore();
}

void InkStyle::drawField(const QStyleOption *option, QPainter *painter, bool hovered, bool ringOnAnyFocus) const
{
    const bool enabled = option->state & State_Enabled;
    const bool focus = (option->state & State_HasFocus)
                       && (ringOnAnyFocus || (option->state & State_KeyboardFocusChange));
    const QRectF r = QRectF(option->rect).adjusted(1.5, 1.5, -1.5, -1.5);
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setOpacity(enabled ? 1.0 : 0.45);
    QPainterPath field;
    field.addRoundedRect(r, kFieldRadius, kFieldRadius);
    painter->fillPath(field, Kiv::paperRaised());
    if (hovered && enabled)
        painter->fillPath(field, Kiv::indigo(0.06));
    const QColor edge = focus ? Kiv::indigo(0.7) : hovered && enabled ? Kiv::indigo(0.45) : Kiv::hairline();
    painter->strokePath(field, QPen(edge, 1));
    if (focus) {
        QPainterPath ring;
        ring.addRoundedRect(r.adjusted(-1, -1, 1, 1), kFieldRadius + 1, kFieldRadius + 1);
        painter->strokePath(ring, QPen(Kiv::indigo(0.3), 2));
    }
    painter->restore();
}

void InkStyle::drawSlider(const QStyleOptionComplex *option, QPainter *painter, const QWidget *widget) const
{
    const auto *slider = qstyleoption_cast<const QStyleOptionSlider *>(option);
    if (!slider)
        return;
    const bool enabled = slider->state & State_Enabled;
    const bool horizontal = slider->orientation == Qt::Horizontal;
    const QRectF groove = subControlRect(CC_Slider, slider, SC_SliderGroove, widget);
    const QRectF handle = subControlRect(CC_Slider, slider, SC_SliderHandle, widget);
    const QPointF centre = handle.center();
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setOpacity(enabled ? 1.0 : 0.45);
    const double t = 3;
    const QRectF track = horizontal ? QRectF(groove.left() + 2, centre.y() - t / 2, groove.width() - 4, t)
                                    : QRectF(centre.x() - t / 2, groove.top() + 2, t, groove.height() - 4);
    QPainterPath whole;
    whole.addRoundedRect(track, t / 2, t / 2);
    painter->fillPath(whole, Kiv::hairline());
    QRectF done = track;
    if (horizontal)
        done.setRight(centre.x());
    else
        done.setTop(centre.y());
    QPainterPath part;
    part.addRoundedRect(done, t / 2, t / 2);
    painter->fillPath(part, Kiv::indigo(0.85));

    const bool under = (slider->state & State_MouseOver) && (slider->activeSubControls & SC_SliderHandle);
    const bool focus = (slider->state & State_HasFocus) && (slider->state & State_KeyboardFocusChange);
    const QRectF knob(centre.x() - kKnob / 2.0 + 0.5, centre.y() - kKnob / 2.0 + 0.5, kKnob - 1, kKnob - 1);
    painter->setPen(QPen(under ? Kiv::indigo(0.6) : Kiv::ink(0.22), 1));
    painter->setBrush(ToggleSwitch::knobColour());
    painter->drawEllipse(knob);
    if (focus) {
        painter->setBrush(Qt::NoBrush);
        painter->setPen(QPen(Kiv::indigo(0.6), 1.5));
        painter->drawEllipse(knob.adjusted(-2, -2, 2, 2));
    }
    painter->restore();
}
