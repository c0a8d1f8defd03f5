#pragma once

#include "app/WindowActions.h"
#include "views/ink/Animation.h"
#include "views/ink/ViewContext.h"

#include <QPointer>
#include <QWidget>

class InkButton;
enum class Symbol;
class QGraphicsOpacityEffect;
class QHBoxLayout;
class SheetDialog;

// The bottom line of the main window: today's mind on the left while the
// model allows it, and four symbol buttons on the right: how to use (a
// sheet over the window), the glossary and the history (their windows) and
// the settings window.
class FooterBar : public QWidget
{
    Q_OBJECT
public:
    FooterBar(const ViewContext &context, WindowActions actions, QWidget *parent = nullptr);
    // An open how-to sheet goes with the bar (it belongs to the window).
    ~FooterBar() override;

    // The how-to sheet while it is open.
    SheetDialog *howToSheet() const;
    void showHowTo();
    void closeHowTo();
    // The line of today's mind: its opacity while it fades in or out (0
    // when there is none).
    double sanshinOpacity() const;
    static constexpr int kSanshinFadeMs = 250;

private:
    void refresh();
    InkButton *addButton(Symbol symbol, const QString &name, const QString &objectName);

    ViewContext m_context;
    WindowActions m_actions;
    QHBoxLayout *m_row = nullptr;
    QWidget *m_sanshin = nullptr;
    QGraphicsOpacityEffect *m_sanshinOpacity = nullptr;
    Animation m_sanshinFade;
    bool m_sanshinWanted = false;
    QPointer<SheetDialog> m_howTo;
};
