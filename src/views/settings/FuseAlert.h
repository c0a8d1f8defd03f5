#pragma once

#include "views/ink/InkDialog.h"

// The offering alert: the word as its title, the message of thanks and
// one button that closes it. Modal over the settings window.
class FuseAlert : public InkDialog
{
    Q_OBJECT
public:
    explicit FuseAlert(QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
    void showEvent(QShowEvent *event) override;
};
