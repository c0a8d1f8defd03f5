#pragma once

#include "core/GlossaryEntry.h"
#include "core/Isshin.h"
#include "views/ink/ViewContext.h"

#include <QWidget>
#include <functional>
#include <optional>

class InkButton;
class KivBackground;

// The note on one mind of the day: the heading, the mind's name and
// reading, its line, the glossary's longer text on the three minds (left
// out when the glossary has no such entry) and a button that opens the
// glossary. It is 320 × the text scale wide and scrolls when it is shown
// shorter than its content (not as a still picture).
class SanshinNote : public QWidget
{
    Q_OBJECT
public:
    // The detail from the glossary of the run.
    SanshinNote(const ViewContext &context, Isshin isshin, std::function<void()> openGlossary,
                QWidget *parent = nullptr);
    // A given glossary entry on the three minds, or none (still pictures in
    // either language).
    SanshinNote(const ViewContext &context, Isshin isshin, std::function<void()> openGlossary,
                const std::optional<GlossaryEntry> &entry, QWidget *parent = nullptr);

    static int noteWidth();
    InkButton *glossaryButton() const { return m_button; }

    QSize sizeHint() const override;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    KivBackground *m_paper = nullptr;
    QWidget *m_page = nullptr;
    InkButton *m_button = nullptr;
};
