#include "platform/notify/NotificationCenter.h"

NotificationCenter::NotificationCenter(QObject *parent)
    : QObject(parent)
{
}

NotificationCenter::~NotificationCenter() = default;
