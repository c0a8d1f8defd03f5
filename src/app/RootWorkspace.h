#pragma once

#include "app/RootPage.h"
#include "app/WindowActions.h"
#include "views/ink/ViewContext.h"

#include <QPointer>
#include <QWidget>
#include <optional>

class CommandsButton;
class FooterBar;
class KivBackground;
class NoticePill;
class PinButton;
class QVBoxLayout;
class SheetDialog;
class TabMeaning;
class TopTabs;
class VersionBanner;

// The working interface of the main window, once the introduction has been
// seen: on the paper, the tab row, the line that explains the selected tab,
// the selected page and the footer; floating over them the menu button of
// the window's commands (top leading), the pin (top trailing), the notice (bottom) and the news of a newer version (top); the
// glossary as a sheet when asked. It follows the model: the page, the
// tab's mark, the notice and the news change with the model's state. When
// it first comes on screen it asks for a newer version (never in still
// pictures), and it keeps its window on top while "alwaysOnTop" is set.
class RootWorkspace : public QWidget
{
    Q_OBJECT
public:
    RootWorkspace(const ViewContext &context, WindowActions actions, QWidget *parent = nullptr);
    ~RootWorkspace() override;

    RootPage::Kind pageKind() const { return *m_kind; }
    QWidget *page() const { return m_page; }
    FooterBar *footer() const { return m_footer; }
    CommandsButton *commandsButton() const { return m_commands; }
    SheetDialog *glossarySheet() const;
    void showGlossary();

    // Gives the window the level the preference asks for; a widget not yet
    // in a window is left alone.
    static void applyWindowLevel(QWidget *window, bool onTop);

protected:
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void refreshPage();
    void refreshTabs();
    void refreshNotice();
    void refreshVersion();
    void placeOverlays();

    ViewContext m_context;
    WindowActions m_actions;
    KivBackground *m_paper = nullptr;
    TopTabs *m_tabs = nullptr;
    TabMeaning *m_meaning = nullptr;
    QVBoxLayout *m_pageArea = nullptr;
    QWidget *m_page = nullptr;
    std::optional<RootPage::Kind> m_kind;
    FooterBar *m_footer = nullptr;
    CommandsButton *m_commands = nullptr;
    PinButton *m_pin = nullptr;
    NoticePill *m_notice = nullptr;
    VersionBanner *m_version = nullptr;
    QPointer<SheetDialog> m_glossary;
};
