#include "views/reading/IntroPager.h"

#include "core/AppSettings.h"
#include "core/L.h"

IntroPager::IntroPager(int pageCount, std::function<void()> onFinish)
    : m_pageCount(pageCount)
    , m_onFinish(std::move(onFinish))
{
}

bool IntroPager::go(int step)
{
    const int target = current() + step;
    if (target < 0 || target >= m_pageCount)
        return false;
    const int before = current();
    m_index = target;
    return current() != before;
}

void IntroPager::advance()
{
    if (isLast())
        finish();
    else
        go(+1);
}

void IntroPager::skip()
{
    finish();
}

bool IntroPager::swipe(double dx)
{
    if (dx < -kSwipeDistance)
        return go(+1);
    if (dx > kSwipeDistance)
        return go(-1);
    return false;
}

bool IntroPager::arrowKey(int direction)
{
    go(direction < 0 ? -1 : +1);
    return true;
}

QString IntroPager::mainLabel() const
{
    return isLast() ? L(QStringLiteral("はじめる")) : L(QStringLiteral("次へ"));
}

QString IntroPager::backLabel()
{
    return L(QStringLiteral("戻る"));
}

QString IntroPager::skipLabel()
{
    return L(QStringLiteral("読み飛ばす"));
}

void IntroPager::finish()
{
    if (m_onFinish)
        m_onFinish();
}

bool IntroPager::showsIntro(const AppSettings &settings, bool isSnapshot)
{
    return !settings.hasSeenIntro() && !isSnapshot;
}

std::function<void()> IntroPager::finishInto(AppSettings &settings)
{
    return [&settings] { settings.setHasSeenIntro(true); };
}
