#pragma once

#include "sources/NewVersion.h"
#include "views/ink/ViewContext.h"

#include <QWidget>

class ElidedLabel;
class InkButton;

// The news of a newer version, floating over the top of the main window: a
// vermilion dot, the title with the version and, when there is one, its
// note on one line; "Get it" opens the address in the browser; the cross
// dismisses the news for this run.
class VersionBanner : public QWidget
{
    Q_OBJECT
public:
    explicit VersionBanner(const ViewContext &context, QWidget *parent = nullptr);

    void setFound(const NewVersion::Found &found);

    // Only web addresses are opened (http and https with a host); the
    // "Get it" link is left out for anything else.
    static bool opens(const QUrl &url);

signals:
    void dismissed();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    ViewContext m_context;
    QUrl m_url;
    ElidedLabel *m_title = nullptr;
    ElidedLabel *m_note = nullptr;
    InkButton *m_get = nullptr;
    InkButton *m_close = nullptr;
};
