#pragma once

#include <QProxyStyle>

class QMenu;

// The look of the toolkit's own controls, drawn from the theme so that no
// stock look shows anywhere: one style for the whole program (over Fusion,
// which every Linux desktop has), installed before the first window.
//
// - Scroll bars: thin, a rounded handle of faint ink and no groove or
//   arrow buttons; scroll areas paint no flat colour over the paper.
// - Menus (context menus, the menu button's, the commands menu and the tray
//   menu where the tray host lets the program draw it) and the lists of
//   drop-downs: the popup paper (PopupPanel) with rows in the theme's fonts,
//   following the text scale, a soft indigo row under the pointer, a check
//   mark beside the chosen one, shortcuts in faint ink.
// - Drop-downs, time and number fields and framed text fields: a rounded
//   raised field with a hairline edge, like the settings buttons; the
//   drop-down chevron and the field's arrows take their size from the text.
// - Sliders: a hairline track, indigo up to the knob, the switch's knob.
//
// A menu entry that is plain text (a status line, a heading) carries the
// property named by kMenuLabel: it reads in soft ink, not as a disabled
// item, and never lights up.
class InkStyle : public QProxyStyle
{
    Q_OBJECT
public:
    InkStyle();

    // Makes this the application's style, and the theme's font its default
    // font (once; later calls do nothing).
    static void install();

    static constexpr const char *kMenuLabel = "inkMenuLabel";

    void polish(QWidget *widget) override;
    void unpolish(QWidget *widget) override;
    using QProxyStyle::polish;
    using QProxyStyle::unpolish;

    int pixelMetric(PixelMetric metric, const QStyleOption *option = nullptr,
                    const QWidget *widget = nullptr) const override;
    int styleHint(StyleHint hint, const QStyleOption *option = nullptr, const QWidget *widget = nullptr,
                  QStyleHintReturn *returnData = nullptr) const override;
    QSize sizeFromContents(ContentsType type, const QStyleOption *option, const QSize &contentsSize,
                           const QWidget *widget = nullptr) const override;
    QRect subControlRect(ComplexControl control, const QStyleOptionComplex *option, SubControl subControl,
                         const QWidget *widget = nullptr) const override;
    void drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                       const QWidget *widget = nullptr) const override;
    void drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                     const QWidget *widget = nullptr) const override;
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex *option, QPainter *painter,
                            const QWidget *widget = nullptr) const override;

    // The font of menu rows at the text scale in effect.
    static QFont menuFont();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void drawMenuItem(const QStyleOption *option, QPainter *painter, const QWidget *widget) const;
    void drawScrollBar(const QStyleOptionComplex *option, QPainter *painter, const QWidget *widget) const;
    void drawField(const QStyleOption *option, QPainter *painter, bool hovered, bool ringOnAnyFocus) const;
    void drawSlider(const QStyleOptionComplex *option, QPainter *painter, const QWidget *widget) const;
};
