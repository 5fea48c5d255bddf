#include "ConstructBrowser.h"

namespace vorlane {

namespace {
ConstructBrowser *g_open = nullptr;
}

ConstructBrowser::~ConstructBrowser()
{
    if (g_open == this)
        g_open = nullptr;
}

ConstructBrowser *ConstructBrowser::open()
{
    return g_open;
}

void ConstructBrowser::setOpen(ConstructBrowser *browser)
{
    g_open = browser;
}

} // namespace vorlane
