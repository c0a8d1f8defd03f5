#pragma once

#include <QDialog>

// The program's dialogs and sheets: Tab goes in reading order
// (ReadingOrder), and Escape or Ctrl+W closes them (Escape as any dialog's
// rejection).
class InkDialog : public QDialog
{
    Q_OBJECT
public:
    explicit InkDialog(QWidget *parent = nullptr, Qt::WindowFlags flags = {});

protected:
    bool focusNextPrevChild(bool next) override;
};
