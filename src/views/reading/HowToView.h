#pragma once

#include "views/ink/ViewContext.h"
#include "views/reading/HowTo.h"

#include <QWidget>
#include <functional>

class InkButton;
class KivBackground;
class QScrollArea;
class QVBoxLayout;

// The how-to page, on the paper: the heading, then each section of HowTo
// with its title over a hairline, its lines behind bullets, and its button
// (the maker's web page; the settings, once setOpenSettings() gave a way
// there). It scrolls, except in still pictures, where every line is laid
// out and the page is as tall as they need (heightForWidth).
class HowToView : public QWidget
{
    Q_OBJECT
public:
    // The sections of the run (HowTo::sections()).
    explicit HowToView(const ViewContext &context, QWidget *parent = nullptr);
    // Given sections (still pictures in either language).
    HowToView(const ViewContext &context, QList<HowTo::Section> sections, QWidget *parent = nullptr);

    // What the calendar button does (the sheet closes itself and opens the
    // settings). Without it that button is not shown.
    void setOpenSettings(std::function<void()> openSettings);

    // Hands a web page to the desktop's browser: only http and https
    // addresses with a host; false for anything else or when nothing
    // opened it.
    static bool openWeb(const QUrl &url);

private:
    void addSection(QVBoxLayout *column, const HowTo::Section &section);

    ViewContext m_context;
    std::function<void()> m_openSettings;
    KivBackground *m_paper = nullptr;
    QScrollArea *m_scroll = nullptr;
    QList<InkButton *> m_settingsButtons;

protected:
    void resizeEvent(QResizeEvent *event) override;
};
