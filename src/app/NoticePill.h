#pragma once

#include <QWidget>

class ElidedLabel;

// The notice floating over the bottom of the main window: the text as the
// model gives it (already in the user's language), wrapped, in a
// raised-paper pill with a hairline edge. A passing notice takes no input:
// clicks pass through to whatever lies under it. One that waits to be put
// away carries a cross ("Dismiss this notice") and takes clicks.
class NoticePill : public QWidget
{
    Q_OBJECT
public:
    explicit NoticePill(QWidget *parent = nullptr);

    void setText(const QString &text);
    QString text() const;
    void setDismissable(bool dismissable);
    bool isDismissable() const;

    // The pill's size when it may be at most `width` wide.
    QSize sizeFor(int width) const;

signals:
    void dismissed();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    ElidedLabel *m_label = nullptr;
    class InkButton *m_close = nullptr;
};
