#include "ArchiveBrowser.h"

namespace vorlane {

namespace {
ArchiveBrowser *g_open = nullptr;
}

ArchiveBrowser::~ArchiveBrowser()
{
    if (g_open == this)
        g_open = nullptr;
}

ArchiveBrowser *ArchiveBrowser::open()
{
    return g_open;
}

void ArchiveBrowser::setOpen(ArchiveBrowser *browser)
{
    g_open = browser;
}

} // namespace vorlane
