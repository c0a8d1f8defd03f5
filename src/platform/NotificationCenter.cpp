#include "platform/NotificationCenter.h"

NotificationCenter::NotificationCenter(QObject *parent)
    : QObject(parent)
{
}

NotificationCenter::~NotificationCenter() = default;
