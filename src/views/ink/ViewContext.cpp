#include "views/ink/ViewContext.h"

#include "views/ink/SystemDesktop.h"

Desktop &ViewContext::desk() const
{
    return desktop ? *desktop : SystemDesktop::shared();
}
